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
    state.application_folder = QCoreApplication::applicationDirPath();

    const auto loaded = zr730::load_settings(QDir(state.application_folder).filePath(zr730::kSettingsFileName));
    state.settings = loaded.settings;

    zr730::Form1 window(state);
    messages.setParent(&window);
    dialogs.setParent(&window);
    window.show();
    if (!loaded.problems.isEmpty())
        messages.show(loaded.problems.join(QLatin1Char('\n')), zr730::MsgIcon::Warning);
    window.Form_Load();
    return app.exec();
}
