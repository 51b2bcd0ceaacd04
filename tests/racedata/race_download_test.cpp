#include "race_fixture.h"
#include "racedata/race_download.h"

namespace {
const QString kSaved = "Race data file %1 saved to %2";
}

class RaceDownload : public RaceFixture {
protected:
    RaceDownloadResult download() { return downloadRaceData(link(), dialogs, hooked, folder); }
    QString shownFolder() const { return displayedRaceFolder(folder); }
};

TEST_F(RaceDownload, SavesEveryRecordWithCrLfInAFileNamedFromTheFirstHeaderInANewFolder)
{
    setRaces({raceHeader(), clocking(), clocking("US08 ABC000002", "143107", "X")});
    ASSERT_FALSE(QDir(folder).exists()); // made by the download
    const auto result = download();
    ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] " + kSaved.arg("00120307.045", shownFolder())});
    EXPECT_EQ(readAllBytes(QDir(folder).filePath("00120307.045")),
              toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\nUS08 ABC0000020143107" + "0512X\r\n"));
    EXPECT_EQ(hooked.lowerLine(), "3 Blocks Transferred");
    EXPECT_FALSE(hooked.isShown());
    EXPECT_FALSE(port.isOpen());
    const QList<QByteArray> ack{QByteArray(1, control::ACK)};
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"v", "v", "e00", "W"} + ack + ack + ack + ack)); // then EOT
}

TEST_F(RaceDownload, HeaderWithoutClockingsIsNoRaceData)
{
    setRaces({raceHeader()});
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::NoRaceData);
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex]     No race data in RBM"});
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_FALSE(hooked.isShown());
}

TEST_F(RaceDownload, ClockFallingSilentMidSeriesLeavesNoFile)
{
    setRaces({raceHeader(), clocking(), clocking()});
    sim.changeFaults([](ClockFaults& f) { f.unplugAfterRecords = 2; });
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::NoRbm);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_TRUE(dialogs.texts()[0].startsWith("No Corvex detected."));
    EXPECT_EQ(dialogs.lines()[1], "[Corvex] No RBM Inserted");
    EXPECT_TRUE(filesInFolder().isEmpty()); // no race file and no temporary file
    EXPECT_FALSE(hooked.isShown());
}

TEST_F(RaceDownload, NoClockEndsSilently)
{
    sim.queueAnswerText("v");
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::NoClock);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_FALSE(sim.commands().contains("W"));
}

TEST_F(RaceDownload, OneCharacterAnswersAreSkippedAndNotCounted)
{
    setRaces({raceHeader(), clocking()});
    hooked.onLowerLine = [this](const QString& line) {
        if (line.startsWith("1 ")) {
            sim.queueRawAnswer(control::text(control::ACK));
            sim.queueRawAnswer(control::text(control::ESC));
        }
    };
    const auto result = download();
    ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(result.records, 2);
    EXPECT_EQ(hooked.lowerLine(), "2 Blocks Transferred");
    EXPECT_EQ(readAllBytes(result.path), toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\n"));
    EXPECT_EQ(sim.commands().count(QByteArray(1, control::ACK)), 5); // two of them answered by ACK and ESC
}

TEST_F(RaceDownload, ReplaceQuestionYesNoCancel)
{
    setRaces({raceHeader(), clocking()});
    ASSERT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    const QString normal = QDir(folder).filePath("00120307.045");
    const QString alternative = QDir(folder).filePath("05120807.045");

    // Cancel: nothing written, the old file stays.
    QFile::remove(normal);
    ASSERT_TRUE(writeRaceFile(normal, {"old"}).ok);
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::Cancelled);
    EXPECT_EQ(dialogs.lines(),
              (QStringList{"[Save Race Data] File already exists!  Do you want to replace it?",
                           "[Corvex] Race data not saved."}));
    EXPECT_EQ(readAllBytes(normal), "old\r\n");
    EXPECT_FALSE(hooked.isShown());

    // Yes replaces the normal file.
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(dialogs.texts().last(), kSaved.arg("00120307.045", shownFolder()));
    EXPECT_EQ(readAllBytes(normal), toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\n"));

    // No writes the alternative name; a second No replaces that one without asking again.
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::No);
    const auto second = download();
    EXPECT_EQ(second.path, alternative);
    EXPECT_EQ(dialogs.texts().last(), kSaved.arg("05120807.045", shownFolder()));
    setRaces({raceHeader(), clocking(), clocking("US08 ABC000009")});
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(dialogs.texts().size(), 2); // the question once, then the saved message
    EXPECT_EQ(parseRaceFile(readAllBytes(alternative)).size(), 3);
    EXPECT_EQ(filesInFolder(), (QStringList{"00120307.045", "05120807.045"}));
}

TEST_F(RaceDownload, AnyOtherFailedReadSavesNothing)
{
    setRaces({raceHeader(), clocking(), clocking()});
    // A wrong checksum makes the exchange return an empty text.
    hooked.onLowerLine = [this](const QString& line) {
        if (line.startsWith("2 "))
            sim.changeFaults([](ClockFaults& f) { f.badChecksum = 1; });
    };
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::ExchangeFailed);
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] Race data not saved."});
    EXPECT_TRUE(filesInFolder().isEmpty());

    // The next download starts the series afresh instead of resuming in its middle.
    hooked.onLowerLine = nullptr;
    dialogs.clearLog();
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(sim.commands().count("W"), 2);
    EXPECT_EQ(readRaceFile(QDir(folder).filePath("00120307.045")).records.size(), 3);
}

TEST_F(RaceDownload, FileNamesFromTheFirstRecord)
{
    const struct {
        QString start; // replaces the concourse, combine, club and flyer numbers
        QString saved; // empty: refused
        QString shown;
    } cases[] = {
        {"0_12C_07045", "0_12C_07.045", {}},
        {"../../x.tmp", {}, "../../x..tmp"},
        {"***********", {}, "********.***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString());
        dialogs.clearLog();
        setRaces({c.start + raceHeader().mid(11), clocking()});
        const RaceDownloadResult result = download();
        if (c.saved.isEmpty()) {
            EXPECT_EQ(result.outcome, RaceDownloadOutcome::InvalidFileName);
            EXPECT_EQ(dialogs.lines(),
                      QStringList{"[Corvex] Invalid file name - " + shownFolder() + c.shown});
        } else {
            EXPECT_EQ(result.outcome, RaceDownloadOutcome::Saved);
            EXPECT_EQ(result.path, QDir(folder).filePath(c.saved));
        }
        EXPECT_EQ(filesInFolder(), c.saved.isEmpty() ? QStringList{"0_12C_07.045"} : QStringList{c.saved});
        EXPECT_FALSE(hooked.isShown());
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("../../x.tmp")));

    // The alternative name is checked as well.
    QString hostile = raceHeader();
    hostile.replace(19, 6, "/../.."); // clock start month, day, year
    setRaces({hostile, clocking()});
    ASSERT_TRUE(writeRaceFile(QDir(folder).filePath("00120307.045"), {"old"}).ok);
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::InvalidFileName);
    EXPECT_EQ(dialogs.texts().last(), "Invalid file name - " + shownFolder() + "/../..07.045");
}

// A module holds eleven flights and 500 clockings; a series that goes on past that is ended and not saved.
TEST_F(RaceDownload, SeriesLongerThanAModuleHoldsIsEndedAndNotSaved)
{
    QStringList full{raceHeader()};
    for (int i = 0; i < 510; ++i)
        full << clocking(QStringLiteral("US08 ABC%1").arg(i, 6, 10, QLatin1Char('0')));
    const struct {
        const char* what;
        QStringList races;
        int extraAcks; // lone ACKs the clock answers once the series runs
        bool saved;
    } cases[] = {
        {"511 records", full, 0, true},
        {"512 records", full + QStringList{clocking()}, 0, false},
        {"ACK for ever", {raceHeader(), clocking()}, 22, false}, // 21 reads and the EOT that ends them
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        dialogs.clearLog();
        sim.clearFrames();
        setRaces(c.races);
        const auto acks = [&] {
            for (int i = 0; i < c.extraAcks; ++i)
                sim.queueRawAnswer(control::text(control::ACK));
        };
        const RaceDownloadResult result = downloadRaceData(link(), dialogs, hooked, folder, acks);
        if (c.saved) {
            ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
            EXPECT_EQ(readRaceFile(result.path).records, c.races);
            continue;
        }
        EXPECT_EQ(result.outcome, RaceDownloadOutcome::ExchangeFailed);
        EXPECT_EQ(dialogs.lines(),
                  QStringList{"[Corvex] Race data not saved.\r\nThe RBM did not end its race data."});
        EXPECT_EQ(sim.commands().last(), control::text(control::EOT));
        EXPECT_TRUE(filesInFolder().isEmpty());
    }
}

TEST_F(RaceDownload, FileErrorIsReportedNotSilent)
{
    setRaces({raceHeader(), clocking()});
    // A folder where the race file should go makes the write fail.
    ASSERT_TRUE(QDir().mkpath(QDir(folder).filePath("00120307.045")));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::FileError);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_TRUE(dialogs.texts()[1].startsWith(
        "Race data not saved.\r\n\r\n" + QDir::toNativeSeparators(QDir(folder).filePath("00120307.045")) +
        ": "));
    EXPECT_TRUE(QFileInfo(QDir(folder).filePath("00120307.045")).isDir());
    EXPECT_FALSE(hooked.isShown());
}
