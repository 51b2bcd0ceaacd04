// The same season through the windows: menu entries open the windows, their buttons run the transfers
// against the in-process stand-in clock, and what arrives in the clock, the race folder and the database is
// checked.
#include "admin/admin_data.h"
#include "database/database.h"
#include "season_support.h"
#include "settings/settings_store.h"
#include "shell/app_context.h"
#include "shell/database_glue.h"
#include "shell/frm_main.h"
#include "shell/startup.h"
#include "support/database_builder.h"
#include "support/simulated_clock.h"
#include "windows/window_test_support.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

namespace {
using season::readAll;

class WindowSeason : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.started()) << sim.startError().toStdString();
        sim.update([](ClockScenario& s) {
            s.rbm.status = QStringLiteral("0");
            s.rbm.serial = QStringLiteral("00003039");
        });
        sim.withDevice([this](ClockDevice& d) { return d.setFlyAfterLiberations(FlightPlan{year}), 0; });
        home = Home::under(dir.path());
        SettingsStore settings(home.settingsFile);
        for (const auto& [key, value] :
             {std::pair{"Concourse", "0012"}, {"Combine", "03"}, {"NationalOrg", "US"}})
            ASSERT_TRUE(settings.write(QString::fromLatin1(key), QString::fromLatin1(value)));
        Database database;
        ASSERT_TRUE(database.open(InitDatabasePath(home), true).ok());
        AdminData data(database);
        Flyer john;
        john.ClubID = data.addClub(QStringLiteral("ROCKFORD RACING")).value;
        john.Name = QStringLiteral("JOHN MILLER");
        john.FlyerID = data.addFlyer(john).value;
        ASSERT_TRUE(data.addBird(makeBird(john.FlyerID, "US24ROCK001201", "A1B2C3D401")).ok());
        ASSERT_TRUE(data.addBird(makeBird(john.FlyerID, "US24ROCK001202")).ok());
        ASSERT_TRUE(data.addLiberationPoint({0, "01", "0614", "DIXON", "1"}).ok());
    }

    // Opens the window of a menu entry as the user does.
    QWidget* open(frmMain& window, const QString& entry)
    {
        window.menuEntry(entry)->trigger();
        QWidget* opened = context->openWindow(entry);
        EXPECT_TRUE(opened && opened->isVisible()) << entry.toStdString();
        return opened;
    }

    QTemporaryDir dir;
    SimulatedClock sim;
    StrictDialogs dialogs;
    RecordingProgress progress;
    Home home;
    const int year = season::seasonYear();
    std::unique_ptr<AppContext> context;
};

TEST_F(WindowSeason, MenusWindowsAndButtonsRunTheSeason)
{
    context = std::make_unique<AppContext>(home, &dialogs, &progress, sim.devicePath());
    context->openUrl = [](const QUrl&) { return true; };
    frmMain window(*context);
    context->mainWindow = &window;
    runStartup(*context, window);
    ASSERT_TRUE(context->clock.identity.connected()) << dialogs.lines().join('\n').toStdString();
    dialogs.clearLog();

    // The inventory, from the bird inventory window.
    QWidget* birds = open(window, "BirdList");
    ASSERT_TRUE(birds);
    clickEntry(birds, "lstBIFlyerList", 0);
    clickButton(birds, "cmdSendBirds");
    EXPECT_EQ(dialogs.lines(), QStringList{"[]        Birds sent = 2"});
    EXPECT_EQ(sim.scenario().birds,
              (QStringList{"ZUS24ROCK001201CA1B2C3D4010", "ZUS24ROCK001202C00000000000"}));
    dialogs.clearLog();

    // The liberation points, from the liberation window.
    QWidget* liberations = open(window, "liberationdata");
    ASSERT_TRUE(liberations);
    clickButton(liberations, "cmdSendOrte");
    EXPECT_EQ(sim.scenario().liberations, QStringList{"I0011406DIXON   1"});
    dialogs.clearLog();

    // The race flown, saved from the Race Information menu.
    window.menuEntry("mnuDOSRaceData")->trigger();
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[Corvex] Race data file 00120301.001 saved to " + home.raceFolder + "/"});
    // The bird without a ring is not clocked (the record layouts are the CLI season's).
    const QString raceFile = QDir(home.raceFolder).filePath("00120301.001");
    EXPECT_TRUE(readAll(raceFile).endsWith("01 06/14 DIXON   01\r\nUS24ROCK00120101305170614\r\n"));
    dialogs.clearLog();

    // The WinSpeed export of the same race.
    const QString weekFile = QDir(dir.path()).filePath("week.D00");
    dialogs.queueInput(QDate(year, 6, 14).toString("MM/dd/yyyy"));
    dialogs.queueSaveFile(weekFile);
    window.menuEntry("mnuWinSpeed")->trigger();
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] Race data copied to file OK."});
    EXPECT_TRUE(readAll(weekFile).contains("3001001US24ROCK00120100111406130517"));
    dialogs.clearLog();

    // The inventory read back into the database.
    clickButton(birds, "cmdReceiveBirds");
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[] Data successfully retrieved for JOHN MILLER.\r\n\r\n"
                          "Birds Added = 0\r\nBirds Updated = 2\r\nAssignments changed = 0"});

    context->closeWindows();
}
} // namespace
