#pragma once
// The program's windows as a user meets them: the splash at once, half a second later the
// main window with its load running under the splash, then what the settings file's reading
// found, said once.
#include <QPointer>
#include <QStringList>

namespace zr730 {

class MainWindow;
class SplashWindow;
class MessageBoxService;

// boxes: the message boxes put above the splash while it shows (none in tests).
// settingsProblems: said after the load, unless the window was closed meanwhile.
// Returns the splash, which closes (and deletes) itself five seconds into the load.
QPointer<SplashWindow> start_program(MainWindow &window, MessageBoxService *boxes, const QStringList &settingsProblems);

} // namespace zr730
