// corvex-cli download-race and export-winspeed against corvex-clocksim, as a user runs them.
#include "race_fixture.h"
#include "support/simulated_clock_process.h"

TEST(RaceCommandLine, DownloadTheReplaceAnswerAndTheExportDate)
{
    QTemporaryDir home;
    ClockScenario scenario;
    scenario.races = {raceHeader(), clocking()};
    const QString scenarioFile = QDir(home.path()).filePath("clock.json");
    ASSERT_TRUE(scenario.save(scenarioFile));
    SimulatedClockProcess clock({"--scenario", scenarioFile});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();

    const QStringList base{"--home", home.path(), "--port", clock.devicePath()};
    CliRun run = runCorvexCli(base + QStringList{"download-race"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString raceFile = QDir(home.path()).filePath("CVX/00120307.045");
    EXPECT_EQ(readAllBytes(raceFile), raceFileBytes(scenario.races));
    EXPECT_TRUE(run.err.contains("[Corvex] Race data file 00120307.045 saved to ")) << run.err.toStdString();

    run = runCorvexCli(base + QStringList{"download-race", "--replace", "cancel"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("[Save Race Data] File already exists!  Do you want to replace it?"));
    EXPECT_TRUE(run.err.contains("[Corvex] Race data not saved."));

    // A liberation date in the future is wrong usage; a successful export runs in the season test.
    run = runCorvexCli(base + QStringList{"export-winspeed", "--date",
                                          QDate::currentDate().addDays(1).toString(Qt::ISODate)});
    EXPECT_EQ(run.exitCode, 2);
}
