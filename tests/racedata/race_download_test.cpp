#include "race_fixture.h"
#include "racedata/race_download.h"

class RaceDownload : public RaceFixture {
protected:
    RaceDownloadResult download(const std::function<void()>& afterQuery = {})
    {
        return downloadRaceData(link(), dialogs, progress, folder, afterQuery);
    }
    QString saved(const QString& name) const
    {
        return "[Corvex] Race data file " + name + " saved to " + displayedRaceFolder(folder);
    }
};

// No clock: silent; one record: no race data; the clock falling silent in the series: "No RBM Inserted";
// any other failed read: not saved. No file in any case, and the next download starts the series afresh.
TEST_F(RaceDownload, EndsWithoutAFile)
{
    const QByteArray header = ClockDevice::frameAnswer(toWindows1252(raceHeader()));
    QByteArray spoiled = ClockDevice::frameAnswer(toWindows1252(clocking()));
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    const std::tuple<QByteArray, QList<QByteArray>, QString> cases[] = {
        // the answer to the version query's "v", the answers of the series, the last message
        {ClockDevice::frameAnswer("v"), {}, {}},
        {{}, {"\x06", header, "\x04"}, "[Corvex]     No race data in RBM"},
        {{}, {"\x06", header, ""}, "[Corvex] No RBM Inserted"}, // after the exchange's own box
        {{}, {"\x06", header, spoiled}, "[Corvex] Race data not saved."},
    };
    for (const auto& [query, series, last] : cases) {
        SCOPED_TRACE(last.toStdString());
        dialogs.clearLog();
        sim.clearFrames();
        if (!query.isEmpty())
            sim.queueRawAnswer(query);
        EXPECT_NE(download([&] {
                      for (const QByteArray& answer : series)
                          sim.queueRawAnswer(answer);
                  }).outcome,
                  RaceDownloadOutcome::Saved);
        EXPECT_EQ(dialogs.lines().isEmpty() ? QString() : dialogs.lines().last(), last);
        EXPECT_TRUE(filesInFolder().isEmpty());
        EXPECT_FALSE(progress.isShown());
        EXPECT_EQ(sim.commands().count("W"), query.isEmpty() ? 1 : 0);
    }
}

// Saved in a folder made for it; a lone character other than EOT is neither stored nor counted.
TEST_F(RaceDownload, OneCharacterAnswersAreSkippedAndNotCounted)
{
    const auto result = download([this] {
        for (const QByteArray& answer :
             {QByteArray("\x06"), ClockDevice::frameAnswer(toWindows1252(raceHeader())), QByteArray("\x06"),
              QByteArray("\x1B"), ClockDevice::frameAnswer(toWindows1252(clocking())), QByteArray("\x04")})
            sim.queueRawAnswer(answer);
    });
    EXPECT_EQ(progress.lowerLine(), "2 Blocks Transferred");
    EXPECT_FALSE(progress.isShown() || port.isOpen());
    EXPECT_EQ(readAllBytes(result.path), toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\n"));
}

// Saving the same module again asks; Cancel keeps the old file, Yes replaces it, No writes the alternative
// name, and a second No replaces that one without asking again.
TEST_F(RaceDownload, ReplaceQuestionYesNoCancel)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeRaceFile(inFolder("00120307.045"), {"old"}).ok);
    using A = Dialogs::Answer;
    const std::tuple<Dialogs::Answer, QString, QString> cases[] = {
        // the answer, the last message, the file that holds the records afterwards
        {A::Cancel, "[Corvex] Race data not saved.", {}},
        {A::Yes, saved("00120307.045"), "00120307.045"},
        {A::No, saved("05120807.045"), "05120807.045"},
        {A::No, saved("05120807.045"), "05120807.045"},
    };
    int clockings = 0;
    for (const auto& [answer, last, file] : cases) {
        const QStringList races = QStringList{raceHeader()} + QStringList(++clockings, clocking());
        setRaces(races);
        dialogs.clearLog();
        dialogs.queueAnswer(answer);
        download();
        EXPECT_EQ(dialogs.lines(),
                  QStringList({"[Save Race Data] File already exists!  Do you want to replace it?", last}));
        EXPECT_EQ(readRaceFile(inFolder(file.isEmpty() ? "00120307.045" : file)).records,
                  file.isEmpty() ? QStringList{"old"} : races);
    }
    EXPECT_EQ(filesInFolder(), (QStringList{"00120307.045", "05120807.045"}));
}

// A name from the record may never lead outside the race folder; the alternative name is checked too.
TEST_F(RaceDownload, FileNamesFromTheFirstRecord)
{
    QString hostile = raceHeader();
    hostile.replace(19, 6, "/../.."); // clock start month, day, year
    const std::tuple<QString, QString> cases[] = {
        {"../../x.tmp" + raceHeader().mid(11), "Invalid file name - %1../../x..tmp"},
        {raceHeader(), "[Corvex] Race data file 00120307.045 saved to %1"},
        {hostile, "Invalid file name - %1/../..07.045"}, // "No" to the replace question
    };
    for (const auto& [first, message] : cases) {
        if (first == hostile)
            dialogs.queueAnswer(Dialogs::Answer::No);
        setRaces({first, clocking()});
        download();
        EXPECT_TRUE(dialogs.lines().last().endsWith(message.arg(displayedRaceFolder(folder))))
            << dialogs.lines().last().toStdString();
    }
    EXPECT_EQ(filesInFolder(), QStringList{"00120307.045"});
    EXPECT_FALSE(QFileInfo::exists(inFolder("../../x.tmp")));
}

// A module holds eleven flights and 500 clockings; a series that goes on past that is ended and not saved.
TEST_F(RaceDownload, SeriesLongerThanAModuleHoldsIsEndedAndNotSaved)
{
    QStringList full{raceHeader()};
    for (int i = 0; i < 510; ++i)
        full << clocking(QStringLiteral("US08 ABC%1").arg(i, 6, 10, QLatin1Char('0')));
    const struct {
        QStringList races;
        int extraAcks; // lone ACKs the clock answers once the series runs
        bool saved;
    } cases[] = {
        {full, 0, true},                            // 511 records
        {full + QStringList{clocking()}, 0, false}, // 512
        {{raceHeader(), clocking()}, 22, false},    // 21 reads and the EOT that ends them
    };
    for (const auto& c : cases) {
        QDir(folder).removeRecursively();
        dialogs.clearLog();
        setRaces(c.races);
        const RaceDownloadResult result = download([&] {
            for (int i = 0; i < c.extraAcks; ++i)
                sim.queueRawAnswer(control::text(control::ACK));
        });
        EXPECT_EQ(result.outcome, c.saved ? RaceDownloadOutcome::Saved : RaceDownloadOutcome::ExchangeFailed);
        EXPECT_EQ(readRaceFile(inFolder("00120307.045")).records, c.saved ? c.races : QStringList());
        if (!c.saved) {
            EXPECT_EQ(dialogs.lines(),
                      QStringList{"[Corvex] Race data not saved.\r\nThe RBM did not end its race data."});
            EXPECT_EQ(sim.commands().last(), control::text(control::EOT));
        }
    }
}

TEST_F(RaceDownload, FileErrorIsReportedNotSilent)
{
    setRaces({raceHeader(), clocking()});
    // A folder where the race file should go makes the write fail.
    ASSERT_TRUE(QDir().mkpath(inFolder("00120307.045")));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    EXPECT_EQ(download().outcome, RaceDownloadOutcome::FileError);
    EXPECT_TRUE(dialogs.texts().last().startsWith("Race data not saved.\r\n\r\n" +
                                                  QDir::toNativeSeparators(inFolder("00120307.045")) + ": "));
}
