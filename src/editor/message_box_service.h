#pragma once
// The program's message and file-chooser services: QMessageBox and QFileDialog.
#include <QPointer>
#include <QWidget>

#include "support/messages.h"

namespace zr730 {

class MessageBoxService : public MessageService {
public:
    void setParent(QWidget *parent) { m_parent = parent; }
    // While a top-most window is up (the splash), boxes are top-most too, so none hides behind it.
    void setTopMost(bool on) { m_topMost = on; }
    MsgAnswer show(const QString &text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) override;
    MsgAnswer showDetailed(const QString &text, const QString &details, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) override;

private:
    QPointer<QWidget> m_parent;
    bool m_topMost = false;
};

class FileDialogBoxService : public FileDialogService {
public:
    void setParent(QWidget *parent) { m_parent = parent; }
    QString openFile(const QString &folder, const QString &filter) override;
    QString saveFile(const QString &folder, const QString &filter) override;

private:
    QPointer<QWidget> m_parent;
};

// "Table files (*.tbl)|*.tbl" → "Table files (*.tbl)".
QString qt_filter(const QString &filter);

} // namespace zr730
