#pragma once
// The command-line companion's terminal: messages on stderr, questions answered at a terminal
// (or by --yes), and the transfer progress as a bar on stderr when stderr is a terminal.
#include <QString>

#include "support/messages.h"
#include "transfer/transfer_procedures.h"

namespace zr730::cli {

class TerminalProgress : public TransferView {
public:
    TerminalProgress();
    void setMaximum(int maximum) override { m_maximum = maximum; }
    void setPosition(int position) override;
    void useHighlightColour() override {}
    void setStatus(const QString &text) override;
    void useReadColour() override {}
    void letEventsRun() override;
    // Ends a bar line in progress, so the next text starts on a line of its own.
    void endLine();

private:
    bool m_terminal;
    bool m_lineOpen = false;
    int m_maximum = 100;
    int m_drawn = -1;
    QString m_status;
};

class TerminalMessages : public MessageService {
public:
    // assumeYes: every Yes/No question is answered Yes (--yes).
    TerminalMessages(bool assumeYes, TerminalProgress *progress) : m_assumeYes(assumeYes), m_progress(progress) {}
    MsgAnswer show(const QString &text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) override;
    // The details go to stdout, one line each, so scripts can take them.
    MsgAnswer showDetailed(const QString &text, const QString &details, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) override;

    // What was shown: the first texts decide the exit status.
    bool saw(const char *text) const;
    bool refused() const { return m_refused; }
    // Forgets what was shown, so the next pager's status is its own.
    void forget()
    {
        m_seen.clear();
        m_refused = false;
    }

private:
    bool m_assumeYes;
    TerminalProgress *m_progress;
    QStringList m_seen;
    bool m_refused = false;
};

// Writes a line to stderr / stdout in UTF-8.
void err_line(const QString &text);
void out_line(const QString &text);

} // namespace zr730::cli
