#include <QApplication>
#include <QDir>

#include "editor/main_window.h"
#include "editor/message_box_service.h"
#include "editor/program_start.h"
#include "support/program_paths.h"
#include "support/program_state.h"
#include "support/settings.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZR730"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zr730")));

    zr730::MessageBoxService messages;
    zr730::FileDialogBoxService dialogs;
    zr730::ProgramState state(messages, &dialogs);
#ifdef ZR730_EDITION_LPT
    state.link = zr730::LinkSelector::Lpt; // the parallel-port edition
#endif
    state.application_folder = QCoreApplication::applicationDirPath();
    state.config_folder = zr730::default_user_config_folder();

    const QString ini = zr730::find_program_file(state, QString::fromLatin1(zr730::kSettingsFileName));
    const auto loaded = zr730::load_settings(ini);
    state.settings = loaded.settings;

    zr730::MainWindow window(state);
    messages.setParent(&window);
    dialogs.setParent(&window);

    // The splash comes first; half a second later it shows the main window, whose load runs
    // under it. The load applies the image before its first wait (the board probe) lets the
    // window paint, so no start-up message stands over empty boxes.
    zr730::start_program(window, &messages, loaded.problems);
    return app.exec();
}
