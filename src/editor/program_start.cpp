#include "editor/program_start.h"

#include "editor/dialogs/frm_splash.h"
#include "editor/form1.h"
#include "editor/message_box_service.h"

namespace zr730 {

QPointer<frmSplash> start_program(Form1 &window, MessageBoxService *boxes, const QStringList &settingsProblems)
{
    // The load is a closure of its own, owning copies of what it uses: the splash that starts
    // it closes itself while the load may still wait in a start-up message.
    QPointer<Form1> main(&window);
    auto load = [main, settingsProblems] {
        if (!main) return;
        main->show();
        main->Form_Load();
        if (main && !settingsProblems.isEmpty() && main->isVisible())
            main->state().messages.show(settingsProblems.join(QLatin1Char('\n')), MsgIcon::Warning);
    };
    ProgramState &state = window.state();
    auto *splash = new frmSplash(state.settings.companyText, state.link, load, boxes);
    window.setSplash(splash);
    splash->Form_Load();
    return splash;
}

} // namespace zr730
