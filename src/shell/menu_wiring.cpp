#include "shell/menu_wiring.h"

#include "shell/app_context.h"
#include "shell/database_glue.h"
#include "shell/frm_config.h"
#include "shell/frm_main.h"

// Each entry opens its window through AppContext::showWindow (one modeless window of each kind) or runs
// its operation with the context, e.g.
//   window.setMenuAction("clubdata", [&context] {
//       context.showWindow("clubdata", [](AppContext& c) { return new frmClubData(c); });
//   });
// Entries still without an action say that the function is not available.
void WireMenus(frmMain& window, AppContext& context)
{
    window.setMenuAction(QStringLiteral("configsetup"), [&context] {
        if (!context.configWindow)
            context.configWindow = new frmConfig(context);
        if (!context.configWindow->isVisible() && context.mainWindow) {
            QRect frame = context.configWindow->frameGeometry();
            frame.moveCenter(context.mainWindow->frameGeometry().center());
            context.configWindow->move(frame.topLeft());
        }
        context.configWindow->show();
        context.configWindow->raise();
        context.configWindow->activateWindow();
    });
    window.setMenuAction(QStringLiteral("mnuCompactDatabase"), [&context] { RunCompactDatabase(context); });
    window.setMenuAction(QStringLiteral("mnuRepairDatabase"), [&context] { RunRepairDatabase(context); });
}
