#pragma once
// Test doubles of the message and file-chooser services: they record what the program shows
// and answer from a queue, so no test ever waits on a modal box.
#include <QList>
#include <QQueue>
#include <QString>

#include "support/messages.h"

namespace zr730::testing {

struct ShownMessage {
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
    QString details;
};

class RecordingMessages : public MessageService {
public:
    MsgAnswer show(const QString &text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) override
    {
        shown.append({text, icon, buttons, {}});
        if (!answers.isEmpty()) return answers.dequeue();
        switch (buttons) {
        case MsgButtons::YesNo: return MsgAnswer::Yes;
        case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
        default: return MsgAnswer::Ok;
        }
    }
    MsgAnswer showDetailed(const QString &text, const QString &details, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) override
    {
        const MsgAnswer answer = show(text, icon, buttons);
        shown.last().details = details;
        return answer;
    }
    QStringList texts() const
    {
        QStringList t;
        for (const auto &m : shown) t << m.text;
        return t;
    }
    void clear() { shown.clear(); }

    QList<ShownMessage> shown;
    QQueue<MsgAnswer> answers;
};

class ScriptedFileDialogs : public FileDialogService {
public:
    QString openFile(const QString &folder, const QString &filter) override
    {
        lastFolder = folder;
        lastFilter = filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFile(const QString &folder, const QString &filter) override
    {
        lastFolder = folder;
        lastFilter = filter;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    QQueue<QString> openAnswers, saveAnswers; // an empty answer cancels
    QString lastFolder, lastFilter;
};

} // namespace zr730::testing
