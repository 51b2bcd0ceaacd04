#include "race_fixture.h"
#include "racedata/winspeed_export.h"

#include <QHash>

namespace {
const QString kNoArrival = "US08 ABC00000200000000000";

class FakeLookups : public WinSpeedLookups {
public:
    QHash<QString, QString> flyers;  // "club/flyer"
    QHash<QString, QString> colours; // club letters + band number
    int colourQuestions = 0;

    WinSpeedLookup flyerName(int club, int flyer) override
    {
        const QString key = QStringLiteral("%1/%2").arg(club).arg(flyer);
        if (!flyers.contains(key))
            return {};
        return {flyers.value(key), {}};
    }
    WinSpeedLookup birdColour(const QString& clubLetters, const QString& bandNumber) override
    {
        ++colourQuestions;
        if (!colours.contains(clubLetters + bandNumber))
            return {};
        return {colours.value(clubLetters + bandNumber), {}};
    }
};

QByteArray golden(const QString& name)
{
    QByteArray bytes = readAllBytes(QStringLiteral(CORVEX_SOURCE_DIR "/tests/fixtures/winspeed/") + name);
    return bytes.replace("{VERSION}", QStringLiteral("%1.%2.%3")
                                          .arg(CORVEX_VERSION_MAJOR)
                                          .arg(CORVEX_VERSION_MINOR)
                                          .arg(CORVEX_VERSION_PATCH)
                                          .toLatin1());
}

// Line by line both ways, so a missing or an extra line at either end fails as well as a changed one.
void expectSameLines(const QByteArray& actual, const QByteArray& expected)
{
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    EXPECT_EQ(a.size(), e.size()) << "line count";
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i)
        EXPECT_EQ(a.value(i).toStdString(), e.value(i).toStdString()) << "line " << i + 1;
    EXPECT_TRUE(actual.endsWith("\r\n"));
}
} // namespace

class WinSpeedExport : public RaceFixture {
protected:
    void SetUp() override
    {
        RaceFixture::SetUp();
        setRaces({raceHeader(), clocking(), kNoArrival, clocking("US08 ABC000003", "150000", "X")});
        sim.update([](ClockScenario& s) { s.s3 = s3Record("JOHN SMITH"); });
        lookups.flyers.insert("7/45", "John Smith");
        lookups.colours.insert(" ABC012345", "BBAR");
        lookups.colours.insert(" ABC000002", "RC");
        lookups.colours.insert(" ABC000003", "BLK");
    }

    QString weekFile() const { return QDir(folder).filePath("W0000020.D00"); }

    WinSpeedResult exportTo(const QString& date = "05/12/2008")
    {
        dialogs.queueInput(date);
        dialogs.queueSaveFile(weekFile());
        return exportWinSpeed(link(), dialogs, hooked, lookups, folder);
    }

    FakeLookups lookups;
};

TEST_F(WinSpeedExport, WritesTheGoldenFileForOneClock)
{
    // Series an earlier operation left open are started afresh, not resumed.
    link().flags = {true, true};
    const auto result = exportTo();
    ASSERT_EQ(result.outcome, WinSpeedOutcome::Saved);
    EXPECT_EQ(result.recordsWritten, 3);
    expectSameLines(readAllBytes(weekFile()), golden("W0000020.D00"));
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] Race data copied to file OK."});

    const auto& log = dialogs.log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].box.title, "Enter liberation date");
    EXPECT_EQ(log[0].box.text, "Current year by default");
    EXPECT_EQ(log[0].extra, "05/12"); // the race date of the first header
    EXPECT_EQ(log[1].kind, ScriptedDialogs::Logged::Kind::SaveFile);
    EXPECT_EQ(log[1].extra, folder + "|W0000020.D00");
    EXPECT_EQ(log[1].box.text, "WinSpeed Data Files (*.D00)|*.D00|");
    EXPECT_EQ(hooked.lowerLine(), "3 Records Written");
    EXPECT_FALSE(hooked.isShown());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(sim.commands().contains("X"));
    EXPECT_TRUE(sim.commands().contains("R"));
}

TEST_F(WinSpeedExport, SecondClockOfTheWeekIsAppendedWithItsOwnRecordZero)
{
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    dialogs.clearLog();
    ASSERT_EQ(exportTo("2008-05-14").outcome, WinSpeedOutcome::Saved);
    QByteArray expected = golden("W0000020_two_exports.D00");
    // The second export's liberation date.
    expected.replace(expected.indexOf("\r\n0120508") + 2, 7, "0140508");
    expectSameLines(readAllBytes(weekFile()), expected);
    EXPECT_EQ(filesInFolder(), QStringList{"W0000020.D00"});
}

TEST_F(WinSpeedExport, OnlyTrainingFlightsWriteNothing)
{
    setRaces({trainingHeader(), clocking(), clocking()});
    EXPECT_EQ(exportWinSpeed(link(), dialogs, hooked, lookups, folder).outcome, WinSpeedOutcome::NoRaces);
    EXPECT_EQ(dialogs.texts(),
              QStringList{"No races to save.  Any clockings are training data, only. \r\nClick on '&Race "
                          "Information' -> 'Save Race Data (\"CVX\" style)'\r\nThen use 'Corvex Race Data "
                          "Reports' to see available training data."});
    EXPECT_FALSE(QDir(folder).exists() && !filesInFolder().isEmpty());
    EXPECT_FALSE(hooked.isShown());
}

TEST_F(WinSpeedExport, RaceNumberedZeroAsksTheNotice)
{
    setRaces({raceHeader("00"), clocking(), raceHeader("03"), clocking()});
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(exportWinSpeed(link(), dialogs, hooked, lookups, folder).outcome, WinSpeedOutcome::Declined);
    ASSERT_EQ(dialogs.log().size(), 1u);
    const auto& box = dialogs.log()[0].box;
    EXPECT_EQ(box.title, "WinSpeed Notice");
    EXPECT_EQ(box.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(box.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(box.text,
              "There are 2 races in this clock\r\n\r\nThere is 1 race WinSpeed might not read\r\n\r\n"
              "Do you wish to save the clock data?");
    EXPECT_FALSE(QFileInfo::exists(weekFile()));

    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    const QStringList lines = parseRaceFile(readAllBytes(weekFile()));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[3].startsWith("3007045US08 ABC012345000")); // race number 00
    EXPECT_TRUE(lines[6].startsWith("3007045US08 ABC012345003"));
}

TEST_F(WinSpeedExport, LiberationDateRangeAndUnreadableAnswers)
{
    // 20 May 2008 is today: tomorrow and 367 days back are refused, today is taken.
    dialogs.queueInput("05/21/2008");
    dialogs.queueInput("05/19/2007");
    dialogs.queueInput("not a date");
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueInput("05/20/2008");
    dialogs.queueSaveFile(QDir(folder).filePath("W0000021.D00"));
    ASSERT_EQ(exportWinSpeed(link(), dialogs, hooked, lookups, folder).outcome, WinSpeedOutcome::Saved);

    const QString range =
        QStringLiteral("Liberation Date Must be Between : \r\n\r\n05-20-2007   &   05-20-2008"
                       "\r\n\r\nCurrent year by default");
    const auto& log = dialogs.log();
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(log[0].box.text, "Current year by default");
    EXPECT_EQ(log[1].kind, ScriptedDialogs::Logged::Kind::Beep);
    EXPECT_EQ(log[2].box.text, range);
    EXPECT_EQ(log[3].kind, ScriptedDialogs::Logged::Kind::Beep);
    EXPECT_EQ(log[4].box.text, range);
    EXPECT_EQ(log[5].box.title, "Invalid data type");
    EXPECT_EQ(log[5].box.text, "Do you wish to try again ? ");
    EXPECT_EQ(log[6].kind, ScriptedDialogs::Logged::Kind::Input);
    EXPECT_EQ(log[7].extra, folder + "|W0000021.D00");
    EXPECT_TRUE(readAllBytes(QDir(folder).filePath("W0000021.D00")).startsWith("0200508\r\n"));

    dialogs.clearLog();
    dialogs.queueInput("??");
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(exportWinSpeed(link(), dialogs, hooked, lookups, folder).outcome, WinSpeedOutcome::Cancelled);
    EXPECT_FALSE(hooked.isShown());
}

// A file up to 350 days older than the liberation date (12 May 2008) is appended to; an older one is kept
// under its year (Yes) or replaced (No).
TEST_F(WinSpeedExport, OldFileIsAppendedKeptUnderItsYearOrReplaced)
{
    const QString old = QDir(folder).filePath("W0000020.07O");
    const struct {
        QString fileDate;
        std::optional<Dialogs::Answer> keep;
        QByteArray before; // what the week file holds before the new records
        bool archived;
    } cases[] = {
        {"0280507", std::nullopt, "0280507\r\n1old\r\n", false}, // 350 days
        {"0270507", Dialogs::Answer::Yes, {}, true},             // 351 days
        {"0270507", Dialogs::Answer::No, {}, false},
    };
    QDir().mkpath(folder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileDate.toStdString());
        QFile::remove(old);
        ASSERT_TRUE(writeRaceFile(weekFile(), {c.fileDate, "1old"}).ok);
        dialogs.clearLog();
        if (c.keep)
            dialogs.queueAnswer(*c.keep);
        ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
        expectSameLines(readAllBytes(weekFile()), c.before + golden("W0000020.D00"));
        EXPECT_EQ(QFileInfo::exists(old), c.archived);
        if (!c.keep)
            continue;
        EXPECT_EQ(dialogs.lines().first(),
                  "[Old race data] Do you wish to save\r\nthe race data from\r\n05/27/07?");
        if (c.archived) {
            EXPECT_EQ(dialogs.lines()[1],
                      "[Old race data] Race data from 05/27/07\r\n               saved in\r\n" +
                          QDir::toNativeSeparators(old));
            EXPECT_EQ(readAllBytes(old), "0270507\r\n1old\r\n");
        }
    }
}

TEST_F(WinSpeedExport, FileNotBeginningWithRecordZeroIsLeftAlone)
{
    QDir().mkpath(folder);
    ASSERT_TRUE(writeRaceFile(weekFile(), {"something else"}).ok);
    EXPECT_EQ(exportTo().outcome, WinSpeedOutcome::FileRefused);
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] Error opening file\r\nRace data not saved"});
    EXPECT_EQ(readAllBytes(weekFile()), "something else\r\n");
}

TEST_F(WinSpeedExport, UnknownFlyerWarnsOnceAndWritesUnknownColours)
{
    lookups.flyers.clear();
    setRaces({raceHeader(), clocking(), kNoArrival, raceHeader("04"), clocking()});
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    const QStringList texts = dialogs.texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], "No current record.\r\nClub #: 007 Flyer #: 045 " +
                            QString("JOHN SMITH").leftJustified(20) +
                            " - Not found! \r\n\r\nThe DataBase on this computer might not "
                            "contain\r\ncorrect color information.\r\n\r\n"
                            "Color from this race file should not be transferred to WinSpeed.");
    EXPECT_EQ(lookups.colourQuestions, 0);
    for (const QString& line : parseRaceFile(readAllBytes(weekFile()))) {
        if (line.startsWith('3')) {
            EXPECT_TRUE(line.endsWith("0UNKN")) << line.toStdString();
        }
    }
}

TEST_F(WinSpeedExport, UnknownBirdTurnsTheRestUnknown)
{
    lookups.colours.remove(" ABC000002");
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    EXPECT_EQ(dialogs.texts().size(), 2);
    const QStringList lines = parseRaceFile(readAllBytes(weekFile()));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[3].endsWith("BBAR"));
    EXPECT_TRUE(lines[4].endsWith("0UNKN"));
    EXPECT_TRUE(lines[5].endsWith("0UNKN"));
}

TEST(WinSpeedRecords, SortingIntoRaces)
{
    const QStringList records{clocking("US08 ABC000001"), // before any race
                              raceHeader(),
                              clocking("US08 ABC000002"),
                              clocking("UnknownC000003"),
                              "odd",
                              trainingHeader(),
                              clocking("US08 ABC000004"), // training
                              raceHeader("00", QString()),
                              clocking("US08 ABC000005")};
    const WinSpeedRaces sorted = sortWinSpeedRaces(records);
    ASSERT_EQ(sorted.races.size(), 2u);
    EXPECT_EQ(sorted.numberedRaces, 1);
    ASSERT_EQ(sorted.races[0].clockings.size(), 1u);
    EXPECT_EQ(sorted.races[0].clockings[0].band(), "US08 ABC000002");
    ASSERT_EQ(sorted.races[1].clockings.size(), 1u);
    EXPECT_EQ(sorted.races[1].clockings[0].band(), "US08 ABC000005");
    // A 72-character header is completed with "00".
    EXPECT_EQ(sorted.races[1].header.text().size(), 74);
    EXPECT_TRUE(sorted.races[1].header.text().endsWith("BOSTON  00"));
}

TEST(WinSpeedRecords, FieldsByteForByte)
{
    const RaceHeaderRecord h72(raceHeader("03", QString()) + "00");
    EXPECT_EQ(winSpeedRecord1(h72, 1234, "A very long flyer name here", "-s"),
              "1007045234A very long flyer na03 05/12 BOSTON  00-s");
    EXPECT_EQ(winSpeedRecord3(h72, ClockingRecord(clocking()), "BB"),
              "3007045US08 ABC012345003112051430050000000000000000000000000000BB");
    EXPECT_EQ(winSpeedRecord3(h72, ClockingRecord(clocking("US08 ABC012345", "143005", "X")), ""),
              "3007045US08 ABC01234500311205143005X000000000000000000000000000");
    EXPECT_EQ(winSpeedRecord2(h72), "2007045012050730001205180005180000");
    EXPECT_EQ(winSpeedRecord0(QDate(2008, 5, 12)), "0120508");
}

TEST(WinSpeedRecords, WeekAndFileName)
{
    EXPECT_EQ(winSpeedFileName(QDate(2008, 5, 12)), "W0000020.D00");
    EXPECT_EQ(winSpeedFileName(QDate(2008, 1, 1)), "W0000001.D00");
    EXPECT_EQ(winSpeedWeek(QDate(2008, 1, 6)), 1); // Sunday
    EXPECT_EQ(winSpeedWeek(QDate(2008, 1, 7)), 2); // Monday
    EXPECT_EQ(winSpeedWeek(QDate(2012, 1, 1)), 1); // a Sunday is a week of its own
    EXPECT_EQ(winSpeedWeek(QDate(2012, 1, 2)), 2);
    EXPECT_EQ(winSpeedWeek(QDate(2012, 12, 31)), 54);
}

TEST(WinSpeedRecords, VersionFiguresAsTheModuleGaveThem)
{
    EXPECT_EQ(formatVersionFigure(1.23), "1.23");
    EXPECT_EQ(formatVersionFigure(1.0), "1");
    EXPECT_EQ(formatVersionFigure(1.5), "1.5");
    EXPECT_EQ(formatVersionFigure(0.05), "0.05");
    EXPECT_EQ(formatVersionFigure(0), "0");
    EXPECT_EQ(formatVersionFigure(99.99), "99.99");
    EXPECT_EQ(winSpeedVersionStamp(2.1, 0), QStringLiteral("-%1.%2.%3-2.1-0")
                                                .arg(CORVEX_VERSION_MAJOR)
                                                .arg(CORVEX_VERSION_MINOR)
                                                .arg(CORVEX_VERSION_PATCH));
}

TEST(WinSpeedRecords, LiberationDates)
{
    const QDate today(2008, 5, 20);
    EXPECT_EQ(parseLiberationDate("05/12", today), QDate(2008, 5, 12));
    EXPECT_EQ(parseLiberationDate(" 5-12-08 ", today), QDate(2008, 5, 12));
    EXPECT_EQ(parseLiberationDate("2008-05-12", today), QDate(2008, 5, 12));
    EXPECT_EQ(parseLiberationDate("12/05/2008", today), QDate(2008, 12, 5)); // month first
    EXPECT_EQ(parseLiberationDate("13/05/2008", today), QDate(2008, 5, 13));
    EXPECT_EQ(parseLiberationDate("May 12, 2008", today), QDate(2008, 5, 12));
    EXPECT_EQ(parseLiberationDate("12 May", today), QDate(2008, 5, 12));
    EXPECT_EQ(parseLiberationDate("02/30", today), std::nullopt);
    EXPECT_EQ(parseLiberationDate("", today), std::nullopt);
    EXPECT_EQ(parseLiberationDate("0512", today), std::nullopt);

    EXPECT_TRUE(isLiberationDateAccepted(today, today));
    EXPECT_TRUE(isLiberationDateAccepted(today.addDays(-366), today));
    EXPECT_FALSE(isLiberationDateAccepted(today.addDays(-367), today));
    EXPECT_FALSE(isLiberationDateAccepted(today.addDays(1), today));
}

TEST(WinSpeedRecords, ExistingFileDateAndOldName)
{
    EXPECT_EQ(winSpeedFileDate("0150507\r\n1xx"), QDate(2007, 5, 15));
    EXPECT_EQ(winSpeedFileDate("0150507"), QDate(2007, 5, 15));
    EXPECT_EQ(winSpeedFileDate("1150507\r\n"), std::nullopt);
    EXPECT_EQ(winSpeedFileDate("0ABCDEF\r\n"), std::nullopt);
    EXPECT_EQ(winSpeedFileDate("0150"), std::nullopt);
    EXPECT_EQ(winSpeedFileDate(""), std::nullopt);

    EXPECT_EQ(oldWinSpeedPath("/r/W0000019.D00", QDate(2007, 5, 1)), "/r/W0000019.07O");
    // Only the extension changes, whatever its case and whatever the folders are called.
    EXPECT_EQ(oldWinSpeedPath("/D00/w0000019.d00", QDate(2007, 5, 1)), "/D00/w0000019.07O");
    EXPECT_EQ(oldWinSpeedPath("/r/week", QDate(2010, 5, 1)), "/r/week.10O");
}
