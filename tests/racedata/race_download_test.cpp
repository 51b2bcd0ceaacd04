#include "race_fixture.h"
#include "racedata/race_download.h"

class RaceDownload : public RaceFixture {
protected:
    RaceDownloadResult download(const std::function<void()>& afterQuery = {})
    {
        return DownloadRaceData(link(), dialogs, progress, folder, afterQuery);
    }
    QString saved(const QString& name) const
    {
        return "[Corvex] Race data file " + name + " saved to " + displayedRaceFolder(folder);
    }
};

// Every record, one a line with CR LF, in a file named from the first header, in a folder made for it.
TEST_F(RaceDownload, SavesEveryRecordInAFileNamedFromTheFirstHeader)
{
    setRaces({raceHeader(), clocking(), clocking("US08 ABC000002", "143107", "X")});
    const auto result = download();
    ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(dialogs.lines(), QStringList{saved("00120307.045")});
    EXPECT_EQ(readAllBytes(inFolder("00120307.045")),
              toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\nUS08 ABC0000020143107" + "0512X\r\n"));
    EXPECT_EQ(progress.lowerLine(), "3 Blocks Transferred");
    EXPECT_FALSE(progress.isShown());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"v", "v", "e00", "W"} + QList<QByteArray>(4, "\x06")));
}

// No clock: silent; one record: no race data; the clock falling silent in the series: "No RBM Inserted";
// any other failed read: not saved. No file in any case, and the next download starts the series afresh.
TEST_F(RaceDownload, EndsWithoutAFile)
{
    QByteArray spoiled = ClockDevice::frameAnswer(toWindows1252(clocking()));
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    const struct {
        QStringList races;
        QList<QByteArray> rbmAnswer; // to the first "v"
        QList<QByteArray> series;    // the first answers of the series
        RaceDownloadOutcome outcome;
        QStringList lines;
    } cases[] = {
        {{raceHeader(), clocking()}, {ClockDevice::frameAnswer("v")}, {}, RaceDownloadOutcome::NoClock, {}},
        {{raceHeader()}, {}, {}, RaceDownloadOutcome::NoRaceData, {"[Corvex]     No race data in RBM"}},
        {{raceHeader(), clocking()},
         {},
         {"\x06", ClockDevice::frameAnswer(toWindows1252(raceHeader())), {}},
         RaceDownloadOutcome::NoRbm,
         {"[Communications Error!] No Corvex detected. Please check connection.",
          "[Corvex] No RBM Inserted"}},
        {{raceHeader(), clocking()},
         {},
         {"\x06", ClockDevice::frameAnswer(toWindows1252(raceHeader())), spoiled},
         RaceDownloadOutcome::ExchangeFailed,
         {"[Corvex] Race data not saved."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.outcome));
        dialogs.clearLog();
        sim.clearFrames();
        setRaces(c.races);
        for (const QByteArray& answer : c.rbmAnswer)
            sim.queueRawAnswer(answer);
        EXPECT_EQ(download([&] {
                      for (const QByteArray& answer : c.series)
                          sim.queueRawAnswer(answer);
                  }).outcome,
                  c.outcome);
        ASSERT_EQ(dialogs.lines().size(), c.lines.size());
        for (qsizetype i = 0; i < c.lines.size(); ++i)
            EXPECT_TRUE(dialogs.lines()[i].startsWith(c.lines[i])) << dialogs.lines()[i].toStdString();
        EXPECT_TRUE(filesInFolder().isEmpty());
        EXPECT_FALSE(progress.isShown());
        EXPECT_EQ(sim.commands().count("W"), c.outcome == RaceDownloadOutcome::NoClock ? 0 : 1);
    }
}

// A lone character other than EOT is neither stored nor counted.
TEST_F(RaceDownload, OneCharacterAnswersAreSkippedAndNotCounted)
{
    const auto result = download([this] {
        for (const QByteArray& answer :
             {QByteArray("\x06"), ClockDevice::frameAnswer(toWindows1252(raceHeader())), QByteArray("\x06"),
              QByteArray("\x1B"), ClockDevice::frameAnswer(toWindows1252(clocking())), QByteArray("\x04")})
            sim.queueRawAnswer(answer);
    });
    ASSERT_EQ(result.outcome, RaceDownloadOutcome::Saved);
    EXPECT_EQ(progress.lowerLine(), "2 Blocks Transferred");
    EXPECT_EQ(readAllBytes(result.path), toWindows1252(raceHeader() + "\r\n" + clocking() + "\r\n"));
}

// Saving the same module again asks; Cancel keeps the old file, Yes replaces it, No writes the alternative
// name, and a second No replaces that one without asking again.
TEST_F(RaceDownload, ReplaceQuestionYesNoCancel)
{
    setRaces({raceHeader(), clocking()});
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeRaceFile(inFolder("00120307.045"), {"old"}).ok);
    const QString question = "[Save Race Data] File already exists!  Do you want to replace it?";
    const struct {
        Dialogs::Answer answer;
        QStringList races;
        QStringList lines;
        QByteArray normalFile, alternativeFile;
    } cases[] = {
        {Dialogs::Answer::Cancel, {}, {question, "[Corvex] Race data not saved."}, "old\r\n", {}},
        {Dialogs::Answer::Yes,
         {},
         {question, saved("00120307.045")},
         raceFileBytes({raceHeader(), clocking()}),
         {}},
        {Dialogs::Answer::No,
         {},
         {question, saved("05120807.045")},
         {},
         raceFileBytes({raceHeader(), clocking()})},
        {Dialogs::Answer::No,
         {raceHeader(), clocking(), clocking()},
         {question, saved("05120807.045")},
         {},
         raceFileBytes({raceHeader(), clocking(), clocking()})},
    };
    for (const auto& c : cases) {
        dialogs.clearLog();
        dialogs.queueAnswer(c.answer);
        if (!c.races.isEmpty())
            setRaces(c.races);
        download();
        EXPECT_EQ(dialogs.lines(), c.lines);
        if (!c.normalFile.isEmpty()) {
            EXPECT_EQ(readAllBytes(inFolder("00120307.045")), c.normalFile);
        }
        if (!c.alternativeFile.isEmpty()) {
            EXPECT_EQ(readAllBytes(inFolder("05120807.045")), c.alternativeFile);
        }
        EXPECT_FALSE(progress.isShown());
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
        dialogs.clearLog();
        if (first == hostile)
            dialogs.queueAnswer(Dialogs::Answer::No);
        setRaces({first, clocking()});
        download();
        EXPECT_TRUE(dialogs.lines().last().endsWith(message.arg(displayedRaceFolder(folder))))
            << dialogs.lines().last().toStdString();
        EXPECT_FALSE(progress.isShown());
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
    EXPECT_FALSE(progress.isShown());
}
