#include "database/database_messages.h"
#include "shell/database_glue.h"
#include "shell/frm_config.h"
#include "shell/startup.h"
#include "shell_fixture.h"
#include "support/find_child.h"
#include "support/simulated_clock.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

namespace {
constexpr ExchangeTimings kShort{std::chrono::milliseconds(125), std::chrono::milliseconds(500),
                                 std::chrono::milliseconds(20), std::chrono::milliseconds(500)};

class StartupTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(sim.started()) << sim.startError().toStdString();
    }
    void start(const QString& device)
    {
        makeMainWindow(device);
        context->clock.exchange.setTimings(kShort);
        runStartup(*context, *window);
    }
    QString panel(int number) { return window->statusPanel(number)->text(); }
    // The clock panels: RBM version and serial, PCF version and serial, status.
    QStringList clockPanels() { return {panel(2), panel(4), panel(6), panel(8), panel(10)}; }
    QString databaseFile() const { return Home::under(dir.path()).dataFolder + "/corvexdata.db"; }

    SimulatedClock sim;
};

TEST_F(StartupTest, ClockAnswersOnFirstRunAndACompactKeepsTheConnection)
{
    start(sim.devicePath());
    EXPECT_EQ(panel(10), "RBM in Race Mode, no birds logged") << "the identity read, then shown";
    // The first run made the database and opened the main window's connection on it; a compact keeps it.
    EXPECT_TRUE(context->database.isOpen());
    window->menuEntry("mnuCompactDatabase")->trigger();
    EXPECT_TRUE(dialogs.log().empty()) << dialogs.lines().join('\n').toStdString();
    EXPECT_TRUE(context->database.isOpen());
}

TEST_F(StartupTest, NoClockShowsTheExchangeMessageAndNotConnected)
{
    sim.setSilent(true);
    start(sim.devicePath());
    ASSERT_EQ(dialogs.lines().size(), 1);
    EXPECT_TRUE(dialogs.lines().first().startsWith("[Communications Error!] No Corvex detected."));
    EXPECT_EQ(clockPanels(), (QStringList{"0.00", "0000", "0.00", "0000", "CORVEX NOT CONNECTED"}));
    EXPECT_FALSE(context->database.isOpen());
    EXPECT_TRUE(QFile::exists(databaseFile())) << "made on the first run for the data windows";
    window->menuEntry("configsetup")->trigger();
    EXPECT_TRUE(context->configWindow->isVisible());
    EXPECT_FALSE(context->configWindow->isModal());
}

TEST_F(StartupTest, MissingOrForeignFileIsSaidOnceAndGreyedWithOrWithoutAClock)
{
    struct Case {
        bool firstRun, clock, fileThere;
        int databaseMessages;
    };
    // A missing file is only tried once a clock answered, and never silently made anew after the first run;
    // a foreign or damaged one is said always.
    for (const Case c :
         {Case{true, true, true, 1}, Case{true, false, true, 1}, Case{false, true, true, 1},
          Case{false, false, true, 1}, Case{false, true, false, 1}, Case{false, false, false, 0}}) {
        SCOPED_TRACE(testing::Message()
                     << "first run " << c.firstRun << ", clock " << c.clock << ", file " << c.fileThere);
        window.reset();
        context.reset();
        dialogs.clearLog();
        QFile::remove(Home::under(dir.path()).settingsFile);
        QFile::remove(databaseFile());
        if (c.fileThere) {
            QFile file(databaseFile());
            ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly));
            file.write("not a database, but a letter to the club secretary\n");
        }
        if (!c.firstRun) // the settings remember the database of the first run
            SettingsStore(Home::under(dir.path()).settingsFile).write(kDatabaseRecordKey, "corvexdata.db");
        sim.setSilent(!c.clock);
        start(sim.devicePath());
        EXPECT_EQ(dialogs.lines().filter("[" + kDatabaseUnavailableTitle + "]").size(), c.databaseMessages)
            << dialogs.lines().join('\n').toStdString();
        EXPECT_EQ(findChildOrFail<QMenu>(window.get(), "mnuAdministrationMenu")->menuAction()->isEnabled(),
                  c.databaseMessages == 0);
        EXPECT_EQ(QFile::exists(databaseFile()), c.fileThere);
        for (const char* entry : {"mnuCompactDatabase", "mnuImportAccess"})
            EXPECT_EQ(window->menuEntry(entry)->isEnabled(), c.databaseMessages == 0) << entry;
        // A damaged file keeps Repair open: the message sends the user there.
        EXPECT_EQ(window->menuEntry("mnuRepairDatabase")->isEnabled(),
                  c.databaseMessages == 0 || (!c.firstRun && c.fileThere));
        EXPECT_TRUE(window->menuEntry("configsetup")->isEnabled());
    }
}

} // namespace
