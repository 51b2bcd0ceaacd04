// corvex-cli download-race and export-winspeed against corvex-clocksim, as a user runs them.
#include "race_fixture.h"
#include "support/simulated_clock_process.h"

TEST(RaceCommandLine, DownloadAndExportThroughTheBuiltPrograms)
{
    QTemporaryDir home;
    ClockScenario scenario;
    scenario.races = {raceHeader(), clocking()};
    scenario.s3 = s3Record(QStringLiteral("MARY JONES"));
    const QString scenarioFile = QDir(home.path()).filePath(QStringLiteral("clock.json"));
    ASSERT_TRUE(scenario.save(scenarioFile));
    SimulatedClockProcess clock({QStringLiteral("--scenario"), scenarioFile});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();

    const QStringList base{QStringLiteral("--home"), home.path(), QStringLiteral("--port"),
                           clock.devicePath()};
    CliRun run = runCorvexCli(base + QStringList{QStringLiteral("download-race")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString raceFile = QDir(home.path()).filePath(QStringLiteral("CVX/00120307.045"));
    EXPECT_EQ(readAllBytes(raceFile), raceFileBytes(scenario.races));
    EXPECT_TRUE(run.err.contains("[Corvex] Race data file 00120307.045 saved to ")) << run.err.toStdString();

    run = runCorvexCli(base + QStringList{QStringLiteral("download-race"), QStringLiteral("--replace"),
                                          QStringLiteral("cancel")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("[Save Race Data] File already exists!  Do you want to replace it?"));
    EXPECT_TRUE(run.err.contains("[Corvex] Race data not saved."));

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString weekFile = QDir(home.path()).filePath(QStringLiteral("week.D00"));
    run = runCorvexCli(base + QStringList{QStringLiteral("export-winspeed"), QStringLiteral("--date"), today,
                                          QStringLiteral("--file"), weekFile});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = parseRaceFile(readAllBytes(weekFile));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "0" + QDate::currentDate().toString(QStringLiteral("ddMMyy")));
    EXPECT_TRUE(lines[1].startsWith("1007045001MARY JONES  "));

    run = runCorvexCli(base + QStringList{QStringLiteral("export-winspeed"), QStringLiteral("--date"),
                                          QDate::currentDate().addDays(1).toString(Qt::ISODate)});
    EXPECT_EQ(run.exitCode, 2);
}
