// corvex-cli download-race and export-winspeed against corvex-clocksim: the answers a user gives on the
// command line, and the exit codes. Successful runs are in the season test.
#include "race_fixture.h"
#include "support/simulated_clock_process.h"

TEST(RaceCommandLine, TheReplaceAnswerAndTheExportDate)
{
    QTemporaryDir home;
    ClockScenario scenario;
    scenario.races = {raceHeader(), clocking()};
    ASSERT_TRUE(scenario.save(QDir(home.path()).filePath("clock.json")));
    SimulatedClockProcess clock({"--scenario", QDir(home.path()).filePath("clock.json")});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    const QStringList base{"--home", home.path(), "--port", clock.devicePath()};
    ASSERT_EQ(runCorvexCli(base + QStringList{"download-race"}).exitCode, 0);

    CliRun run = runCorvexCli(base + QStringList{"download-race", "--replace", "cancel"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("[Save Race Data] File already exists!  Do you want to replace it?"));
    EXPECT_TRUE(run.err.contains("[Corvex] Race data not saved."));
    EXPECT_EQ(runCorvexCli(base + QStringList{"download-race", "--replace", "maybe"}).exitCode, 2);
    // A liberation date in the future is wrong usage.
    run = runCorvexCli(base + QStringList{"export-winspeed", "--date",
                                          QDate::currentDate().addDays(1).toString(Qt::ISODate)});
    EXPECT_EQ(run.exitCode, 2);
}
