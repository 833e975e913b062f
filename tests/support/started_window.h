#pragma once
// One started main window with its own state, as main() builds it, that never talks to a real
// adapter; and the user's ways of moving the focus and typing.
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "editor/main_window.h"
#include "support/program_state.h"
#include "support/recording_messages.h"

namespace zr730::testing {

struct StartedWindow {
    explicit StartedWindow(InstallationSettings settings = {})
        : state(messages)
    {
        state.settings = settings;
        state.settings.adapterIds.clear(); // never talk to a real adapter of the machine
        state.application_folder = dir.path();
        window = std::make_unique<MainWindow>(state);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("main window not active");
        window->startUp();
        messages.clear();
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }

    void focus(QWidget *w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
    void leave()
    {
        focus(window->picTabBack);
        QCoreApplication::processEvents();
    }
    // Types into a box as a user would, one key press and release per character.
    void type(QLineEdit *box, const QString &text)
    {
        focus(box);
        QTest::keyClicks(box, text);
    }
    void enterFrequency(const QString &text)
    {
        type(window->txtFreq, text);
        leave();
    }

    QTemporaryDir dir;
    RecordingMessages messages;
    ProgramState state;
    std::unique_ptr<MainWindow> window;
};

} // namespace zr730::testing
