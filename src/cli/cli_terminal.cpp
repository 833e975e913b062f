#include "cli/cli_terminal.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace zr730::cli {

void err_line(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void out_line(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

TerminalProgress::TerminalProgress() : m_terminal(isatty(STDERR_FILENO) == 1) {}

void TerminalProgress::setPosition(int position)
{
    if (!m_terminal) return;
    const int max = m_maximum > 0 ? m_maximum : 1;
    const int percent = qBound(0, position * 100 / max, 100);
    if (percent == m_drawn) return;
    m_drawn = percent;
    const int filled = percent * 30 / 100;
    const QString bar = QStringLiteral("\r[%1%2] %3% %4")
                            .arg(QString(filled, QLatin1Char('#')), QString(30 - filled, QLatin1Char(' ')))
                            .arg(percent, 3)
                            .arg(m_status.trimmed());
    std::fputs(bar.toUtf8().constData(), stderr);
    std::fflush(stderr);
    m_lineOpen = true;
}

void TerminalProgress::setStatus(const QString &text)
{
    m_status = text;
    m_drawn = -1;
}

void TerminalProgress::letEventsRun() { QCoreApplication::processEvents(); }

void TerminalProgress::endLine()
{
    if (!m_lineOpen) return;
    std::fputc('\n', stderr);
    m_lineOpen = false;
    m_drawn = -1;
}

MsgAnswer TerminalMessages::show(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    Q_UNUSED(icon);
    if (m_progress) m_progress->endLine();
    m_seen << text;
    if (buttons != MsgButtons::YesNo) {
        err_line(text);
        return buttons == MsgButtons::RetryCancel || buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                                                     : MsgAnswer::Ok;
    }
    if (m_assumeYes) {
        err_line(text + QStringLiteral(" [y/N] y (--yes)"));
        return MsgAnswer::Yes;
    }
    // Only a person at a terminal answers; a script that did not say --yes is taken as No.
    if (isatty(STDIN_FILENO) != 1) {
        err_line(text + QStringLiteral(" [y/N] n (no terminal to ask; --yes agrees)"));
        m_refused = true;
        return MsgAnswer::No;
    }
    std::fputs((text + QStringLiteral(" [y/N] ")).toUtf8().constData(), stderr);
    std::fflush(stderr);
    std::string answer;
    std::getline(std::cin, answer);
    const bool yes = !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    if (!yes) m_refused = true;
    return yes ? MsgAnswer::Yes : MsgAnswer::No;
}

MsgAnswer TerminalMessages::showDetailed(const QString &text, const QString &details, MsgIcon icon,
                                         MsgButtons buttons)
{
    const MsgAnswer answer = show(text, icon, buttons);
    for (const QString &line : details.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) out_line(line);
    return answer;
}

bool TerminalMessages::saw(const char *text) const
{
    const QString t = QString::fromLatin1(text);
    for (const QString &s : m_seen)
        if (s.startsWith(t)) return true;
    return false;
}

} // namespace zr730::cli
