#include "shell/menu_wiring.h"

#include "admin/windows/clock_transfers.h"
#include "admin/windows/frm_bird_inventory.h"
#include "admin/windows/frm_club_data.h"
#include "admin/windows/frm_flyer_list.h"
#include "admin/windows/frm_liberations.h"
#include "database/mdb_migration.h"
#include "dosimport/windows/frm_import_files.h"
#include "racedata/admin_winspeed_lookups.h"
#include "racedata/race_download.h"
#include "racedata/winspeed_export.h"
#include "reports/race_files.h"
#include "reports/windows/frm_racefiles.h"
#include "results/stored_race.h"
#include "results/windows/frm_race_results.h"
#include "settings/configuration.h"
#include "settings/result_settings.h"
#include "shell/app_context.h"
#include "shell/database_glue.h"
#include "shell/frm_config.h"
#include "shell/frm_main.h"

#include <QLineEdit>

namespace {
// The clubs window (the one already open, or a new one).
frmClubData* openClubWindow(AppContext& c)
{
    return qobject_cast<frmClubData*>(
        c.showWindow(QStringLiteral("clubdata"), [](AppContext& cc) -> QWidget* {
            return new frmClubData(cc.databasePath, cc.dialogs);
        }));
}

QWidget* makeFlyerWindow(AppContext& c)
{
    auto* flyers = new frmFlyerList(c.databasePath, c.dialogs);
    flyers->setHemispheres(readResultSettings(c.settings).hemispheres);
    return flyers;
}

// What the clock transfers of the data windows work with.
TransferServices transferServices(AppContext& c)
{
    TransferServices s;
    s.clock = &c.clock;
    s.dialogs = &c.dialogs;
    s.progress = &c.progress;
    s.databasePath = c.databasePath;
    s.headerSettings = [&c] {
        return AdminHeaderSettings{c.config.combineName, c.config.nationalOrg, c.config.combine,
                                   c.config.concourse};
    };
    s.showClockStatus = [&c] { c.showClockStatus(); };
    s.openClubsForFirstClub = [&c] {
        if (auto* clubs = openClubWindow(c))
            clubs->addFirstClub();
    };
    s.openFlyerWindow = [&c] {
        return qobject_cast<frmFlyerList*>(c.showWindow(QStringLiteral("FlyerData"), makeFlyerWindow));
    };
    return s;
}

// The results window's own database connection, open while the window is.
struct ResultData {
    Database database;
    AdminData data{database};
};

RaceResultServices raceResultServices(AppContext& c)
{
    auto held = std::make_shared<ResultData>();
    const DbResult opened = held->database.open(c.databasePath);
    const QString folder = reportsRaceFolder(c.home, c.settings);
    RaceResultServices s;
    s.dialogs = &c.dialogs;
    s.folder = folder;
    s.races = [held, opened, folder]() -> Fetched<std::vector<RaceChoice>> {
        if (!opened.ok())
            return {{}, opened};
        return raceChoices(held->data, folder);
    };
    s.figure = [held, folder, &c](const RaceChoice& race) {
        return figureStoredRace(held->data, folder, race.raceNumber, race.date,
                                readResultSettings(c.settings));
    };
    return s;
}
} // namespace

// Each entry opens its window through AppContext::showWindow (one modeless window of each kind) or runs
// its operation with the context, e.g.
//   window.setMenuAction("clubdata", [&context] {
//       context.showWindow("clubdata", [](AppContext& c) { return new frmClubData(c); });
//   });
// Entries still without an action say that the function is not available.
void wireMenus(frmMain& window, AppContext& context)
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
    window.setMenuAction(QStringLiteral("mnuCompactDatabase"), [&context] { runCompactDatabase(context); });
    window.setMenuAction(QStringLiteral("mnuRepairDatabase"), [&context] { runRepairDatabase(context); });
    window.setMenuAction(QStringLiteral("mnuImportDOS"), [&context] {
        context.showWindow(QStringLiteral("mnuImportDOS"), [](AppContext& c) -> QWidget* {
            const auto updateConfiguration = [&c](const QString& concourse, const QString& combine) {
                if (c.configWindow) {
                    c.configWindow->concrs->setText(concourse);
                    c.configWindow->combn->setText(combine);
                    c.configWindow->SaveSettings();
                    return;
                }
                c.config.concourse = concourse;
                c.config.combine = combine;
                c.setMainTitle(SaveSettings(c.settings, c.dialogs, c.config));
            };
            const auto openClubs = [&c] {
                if (auto* clubs = openClubWindow(c))
                    clubs->pressAdd();
            };
            return new frmImportFiles(c.databasePath, c.home.raceFolder, c.dialogs, c.progress,
                                      updateConfiguration, openClubs);
        });
    });
    window.setMenuAction(QStringLiteral("mnuImportAccess"), [&context] {
        const auto file =
            context.dialogs.openFile(QStringLiteral("Import Access Database"), context.home.dataFolder,
                                     QStringLiteral("Access databases (*.mdb)|*.mdb|All files|*|"));
        if (!file)
            return;
        // The main window's own connection would count as a data window holding the file.
        const bool wasOpen = context.database.isOpen();
        context.database.close();
        importAccessDatabase(*file, context.databasePath, context.dialogs, context.progress);
        if (wasOpen)
            context.database.open(context.databasePath);
    });
    window.setMenuAction(QStringLiteral("clubdata"), [&context] {
        context.showWindow(QStringLiteral("clubdata"), [](AppContext& c) -> QWidget* {
            return new frmClubData(c.databasePath, c.dialogs);
        });
    });
    window.setMenuAction(QStringLiteral("FlyerData"),
                         [&context] { context.showWindow(QStringLiteral("FlyerData"), makeFlyerWindow); });
    window.setMenuAction(QStringLiteral("BirdList"), [&context] {
        context.showWindow(QStringLiteral("BirdList"), [](AppContext& c) -> QWidget* {
            auto* birds = new frmBirdInventory(c.databasePath, c.dialogs, c.settings);
            connectInventoryTransfers(*birds, transferServices(c));
            return birds;
        });
    });
    window.setMenuAction(QStringLiteral("liberationdata"), [&context] {
        context.showWindow(QStringLiteral("liberationdata"), [](AppContext& c) -> QWidget* {
            auto* liberations = new frmLiberations(c.databasePath, c.dialogs);
            liberations->setHemispheres(readResultSettings(c.settings).hemispheres);
            connectLiberationTransfer(*liberations, transferServices(c));
            return liberations;
        });
    });
    window.setMenuAction(QStringLiteral("mnuDOSRaceData"), [&context] {
        downloadRaceData(context.clock, context.dialogs, context.progress,
                         reportsRaceFolder(context.home, context.settings),
                         [&context] { context.showClockStatus(); });
    });
    window.setMenuAction(QStringLiteral("mnuWinSpeed"), [&context] {
        // Its own connection for the look-ups; without a database the colours are written as "UNKN".
        Database database;
        database.open(context.databasePath);
        const AdminData data(database);
        AdminWinSpeedLookups lookups(data);
        exportWinSpeed(context.clock, context.dialogs, context.progress, lookups,
                       reportsRaceFolder(context.home, context.settings),
                       [&context] { context.showClockStatus(); });
    });
    window.setMenuAction(QStringLiteral("mnuRaceReport"), [&context] {
        context.showWindow(QStringLiteral("mnuRaceReport"), [](AppContext& c) -> QWidget* {
            return makeRaceFileChooser(reportsRaceFolder(c.home, c.settings), c.databasePath, c.dialogs);
        });
    });
    window.setMenuAction(QStringLiteral("mnuRaceResults"), [&context] {
        context.showWindow(QStringLiteral("mnuRaceResults"), [](AppContext& c) -> QWidget* {
            return new frmRaceResults(raceResultServices(c));
        });
    });
}
