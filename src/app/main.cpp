#include <QApplication>
#include <QDir>

#include "editor/form1.h"
#include "editor/message_box_service.h"
#include "support/program_state.h"
#include "support/settings.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZR730"));

    zr730::MessageBoxService messages;
    zr730::FileDialogBoxService dialogs;
    zr730::ProgramState state(messages, &dialogs);
#ifdef ZR730_EDITION_LPT
    state.link = zr730::LinkSelector::Lpt; // the parallel-port edition
#endif
    state.application_folder = QCoreApplication::applicationDirPath();

    const auto loaded = zr730::load_settings(QDir(state.application_folder).filePath(zr730::kSettingsFileName));
    state.settings = loaded.settings;

    zr730::Form1 window(state);
    messages.setParent(&window);
    dialogs.setParent(&window);
    // The load applies the image before its first wait (the board probe) lets the window paint,
    // so no start-up message stands over empty boxes.
    window.show();
    window.Form_Load();
    if (!loaded.problems.isEmpty())
        messages.show(loaded.problems.join(QLatin1Char('\n')), zr730::MsgIcon::Warning);
    return app.exec();
}
