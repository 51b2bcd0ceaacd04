// The download and the export end to end: operation -> serial layer -> pseudo-terminal -> stand-in clock.
#include "race_fixture.h"
#include "racedata/winspeed_export.h"
#include "support/simulated_clock.h"
#include "support/simulated_clock_process.h"

namespace {
class NoDatabase : public WinSpeedLookups {
public:
    WinSpeedLookup flyerName(int, int) override { return {QStringLiteral("John Smith"), {}}; }
    WinSpeedLookup birdColour(const QString&, const QString&) override
    {
        return {QStringLiteral("BBAR"), {}};
    }
};

QString s3Record(const QString& name)
{
    return QStringLiteral("S3") + QString(10, QLatin1Char('0')) + name.leftJustified(20) + QString(14, '0');
}
} // namespace

class RaceOverTheLine : public SimulatedClockTest {
protected:
    void SetUp() override
    {
        SimulatedClockTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        folder = QDir(m_dir.path()).filePath(QStringLiteral("CVX"));
        Today::set(QDateTime(QDate(2008, 5, 20), QTime(12, 0)));
    }
    void TearDown() override
    {
        Today::set(std::nullopt);
        SimulatedClockTest::TearDown();
    }
    void setRaces(const QStringList& races)
    {
        sim.update([&](ClockScenario& s) { s.races = races; });
    }
    RaceDownloadResult download() { return DownloadRaceData(link(), dialogs, progress, folder); }
    QStringList files() const { return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QString folder;

private:
    QTemporaryDir m_dir;
};

TEST_F(RaceOverTheLine, DownloadWritesTheExactRecordsUnderTheNormalName)
{
    const QStringList races{raceHeader(), clocking(),
                            clocking(QStringLiteral("US08 ABC000002"), "143107", "X")};
    setRaces(races);
    const auto result = download();
    ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(QFileInfo(result.path).fileName(), "00120307.045");
    EXPECT_EQ(readAllBytes(result.path), raceFileBytes(races));
    EXPECT_TRUE(readAllBytes(result.path).endsWith("0512X\r\n"));
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Race data file 00120307.045 saved to " + displayedRaceFolder(folder)});
    const QList<QByteArray> ack{QByteArray(1, control::ACK)};
    EXPECT_EQ(sim.commands(),
              (QList<QByteArray>{"v", "v", "e00", "W"} + ack + ack + ack + ack)); // three records, then EOT
    EXPECT_FALSE(port.isOpen());
}

TEST_F(RaceOverTheLine, HeaderAloneIsNoRaceData)
{
    setRaces({raceHeader()});
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::NoRaceData);
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex]     No race data in RBM"});
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(RaceOverTheLine, UnpluggedMidSeriesLeavesNoFileAndNoTemporaryFile)
{
    setRaces({raceHeader(), clocking(), clocking()});
    sim.changeFaults([](ClockFaults& f) { f.unplugAfterRecords = 2; });
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::NoRbm);
    EXPECT_EQ(dialogs.texts().last(), "No RBM Inserted");
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(progress.isShown());
}

TEST_F(RaceOverTheLine, SavingTwiceWithNoUsesTheAlternativeNameThenReplacesIt)
{
    setRaces({raceHeader(), clocking()});
    ASSERT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    dialogs.queueAnswer(Dialogs::Answer::No);
    ASSERT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    setRaces({raceHeader(), clocking(), clocking()});
    dialogs.queueAnswer(Dialogs::Answer::No);
    ASSERT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(files(), (QStringList{"00120307.045", "05120807.045"}));
    EXPECT_EQ(readRaceFile(QDir(folder).filePath("05120807.045")).records.size(), 3);
    EXPECT_EQ(readRaceFile(QDir(folder).filePath("00120307.045")).records.size(), 2);
}

TEST_F(RaceOverTheLine, ExportTakesTheFlyerNameFromTheModule)
{
    setRaces({raceHeader(), clocking()});
    sim.update([](ClockScenario& s) { s.s3 = s3Record(QStringLiteral("MARY JONES")); });
    NoDatabase lookups;
    dialogs.queueInput(QStringLiteral("05/12"));
    const QString file = QDir(folder).filePath(QStringLiteral("W0000020.D00"));
    dialogs.queueSaveFile(file);
    ASSERT_EQ(ExportWinSpeed(link(), dialogs, progress, lookups, folder).outcome, WinSpeedOutcome::Saved);
    const QStringList lines = parseRaceFile(readAllBytes(file));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "0120508");
    EXPECT_EQ(lines[1], "1007045001MARY JONES          03 05/12 BOSTON  01" + winSpeedVersionStamp(1.23, 1));
    EXPECT_TRUE(lines[1].endsWith("-1.23-1"));
    EXPECT_TRUE(sim.commands().contains("X"));
    EXPECT_TRUE(sim.commands().contains("R"));
}

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
