#pragma once
// The message service every user-visible message goes through, and the file-chooser service.
#include <QString>

namespace zr730 {

enum class MsgIcon { None, Warning, Critical, Information, Question };
enum class MsgButtons { Ok, YesNo, OkCancel, RetryCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel, Retry };

class MessageService {
public:
    virtual ~MessageService();
    virtual MsgAnswer show(const QString &text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) = 0;
    // The same message with a details section that the user unfolds (one line per item).
    virtual MsgAnswer showDetailed(const QString &text, const QString &details, MsgIcon icon,
                                   MsgButtons buttons = MsgButtons::Ok)
    {
        Q_UNUSED(details);
        return show(text, icon, buttons);
    }
};

class FileDialogService {
public:
    virtual ~FileDialogService();
    // Each returns the chosen path, or an empty string when the user cancelled.
    // The filter is in "Description (*.ext)|*.ext" form.
    virtual QString openFile(const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &folder, const QString &filter) = 0;
};

} // namespace zr730
