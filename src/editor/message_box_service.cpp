#include "editor/message_box_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScrollBar>
#include <QTextEdit>

namespace zr730 {

MsgAnswer MessageBoxService::show(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    return showDetailed(text, QString(), icon, buttons);
}

MsgAnswer MessageBoxService::showDetailed(const QString &text, const QString &details, MsgIcon icon,
                                          MsgButtons buttons)
{
    // The splash goes away by itself, possibly while the box is open: never the box's parent.
    QWidget *parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    if (parent && parent->windowType() == Qt::SplashScreen) parent = nullptr;
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    if (!details.isEmpty()) {
        box.setDetailedText(details);
        // The box is as wide as its short text; the field lines need room to be read whole.
        if (auto *list = box.findChild<QTextEdit *>()) {
            const QFontMetrics fm(list->font());
            int widest = 0;
            for (const QString &line : details.split(QLatin1Char('\n'))) widest = qMax(widest, fm.horizontalAdvance(line));
            list->setMinimumWidth(qMin(widest + 2 * fm.averageCharWidth() + list->verticalScrollBar()->sizeHint().width(),
                                       fm.averageCharWidth() * 110));
            list->setMinimumHeight(fm.lineSpacing() * 12);
        }
    }
    if (m_topMost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    default: return MsgAnswer::Ok;
    }
}

QString qt_filter(const QString &filter)
{
    const int bar = filter.indexOf(QLatin1Char('|'));
    return bar < 0 ? filter : filter.left(bar);
}

QString FileDialogBoxService::openFile(const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), folder, qt_filter(filter));
}

QString FileDialogBoxService::saveFile(const QString &folder, const QString &filter)
{
    // The overwrite question is the program's own, so the dialog must not ask it too.
    return QFileDialog::getSaveFileName(m_parent, QString(), folder, qt_filter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace zr730
