#include "shell/startup.h"

#include "clocklink/control_characters.h"
#include "database/database_messages.h"
#include "database/maintenance.h"
#include "shell/app_context.h"
#include "shell/frm_config.h"
#include "shell/frm_main.h"
#include "shell/menu_wiring.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString findHelpFile()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        programDir.filePath(QStringLiteral("../share/corvex/help/index.html")),
        programDir.filePath(QStringLiteral("help/index.html")),
        QStringLiteral(CORVEX_SOURCE_DIR "/docs/help/index.html"),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    return {};
}

namespace {
// A database that cannot be opened at start-up: its message, and the entries that need it greyed.
void reportUnusableDatabase(AppContext& context, frmMain& window, const DbResult& opened)
{
    switch (opened.code) {
    case DbError::FileNotFound:
    case DbError::NotOurDatabase:
    case DbError::Damaged:
    case DbError::ReadOnly:
        ShowDatabaseError(context.dialogs, opened, context.databasePath);
        window.disableDatabaseEntries();
        // The message sends the user to Repair Database: the one way back to the data.
        if (opened.code == DbError::Damaged)
            window.menuEntry(QStringLiteral("mnuRepairDatabase"))->setEnabled(true);
        break;
    default:
        window.showGeneralError(opened.description, opened.code);
        break;
    }
}
} // namespace

void runStartup(AppContext& context, frmMain& window)
{
    context.mainWindow = &window;
    wireMenus(window, context);

    context.helpFile = findHelpFile();
    // The clock link's control characters are constants; the address is set below.
    const bool firstRun = !context.settings.contains(kDatabaseRecordKey);
    context.databasePath = prepareDatabasePath(context);
    RemoveStrayCompactFiles(context.databasePath);
    // A first run that could not make its database has said why; the entries that need it are greyed.
    const bool databaseReported = firstRun && !context.settings.contains(kDatabaseRecordKey);
    if (databaseReported)
        window.disableDatabaseEntries();

    if (!context.configWindow)
        context.configWindow = new frmConfig(context);
    else
        context.configWindow->LoadSettings();

    context.clock.exchange.setAddressPrefix(kRbmAddress);
    context.clock.queryVersion();
    context.showClockStatus();
    if (databaseReported)
        return;
    if (!context.clock.identity.connected()) {
        // No connection of its own without a clock; but a file that is there and damaged or foreign is
        // said at once and its entries greyed, rather than at every window that tries it.
        if (QFileInfo::exists(context.databasePath)) {
            Database probe;
            const DbResult opened = probe.open(context.databasePath);
            if (opened.code == DbError::NotOurDatabase || opened.code == DbError::Damaged ||
                opened.code == DbError::ReadOnly)
                reportUnusableDatabase(context, window, opened);
        }
        return;
    }

    const DbResult opened = context.database.open(context.databasePath);
    if (!opened.ok())
        reportUnusableDatabase(context, window, opened);
}
