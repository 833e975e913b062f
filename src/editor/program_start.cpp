#include "editor/program_start.h"

#include "editor/dialogs/splash_window.h"
#include "editor/main_window.h"
#include "editor/message_box_service.h"

namespace zr730 {

QPointer<SplashWindow> start_program(MainWindow &window, MessageBoxService *boxes, const QStringList &settingsProblems)
{
    // The load is a closure of its own, owning copies of what it uses: the splash that starts
    // it closes itself while the load may still wait in a start-up message.
    QPointer<MainWindow> main(&window);
    auto load = [main, settingsProblems] {
        if (!main) return;
        main->show();
        main->startUp();
        if (main && !settingsProblems.isEmpty() && main->isVisible())
            main->state().messages.show(settingsProblems.join(QLatin1Char('\n')), MsgIcon::Warning);
    };
    ProgramState &state = window.state();
    auto *splash = new SplashWindow(state.settings.companyText, state.link, load, boxes);
    window.setSplash(splash);
    splash->showSplash();
    return splash;
}

} // namespace zr730
