#include "race_fixture.h"
#include "racedata/winspeed_export.h"

#include <QHash>
#include <QRegularExpression>

namespace {
const QString kNoArrival = "US08 ABC00000200000000000";

// Flyers by "club/flyer", colours by club letters + band number.
class FakeLookups : public WinSpeedLookups {
public:
    QHash<QString, QString> flyers{{"7/45", "John Smith"}};
    QHash<QString, QString> colours{{" ABC012345", "BBAR"}, {" ABC000002", "RC"}, {" ABC000003", "BLK"}};
    int colourQuestions = 0;

    WinSpeedLookup flyerName(int club, int flyer) override
    {
        return find(flyers, QStringLiteral("%1/%2").arg(club).arg(flyer));
    }
    WinSpeedLookup birdColour(const QString& letters, const QString& number) override
    {
        ++colourQuestions;
        return find(colours, letters + number);
    }
    static WinSpeedLookup find(const QHash<QString, QString>& table, const QString& key)
    {
        return table.contains(key) ? WinSpeedLookup{table.value(key), {}} : WinSpeedLookup{};
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

// Line by line, so that a failure shows the line that differs.
void expectSameLines(const QByteArray& actual, const QByteArray& expected)
{
    EXPECT_EQ(QString::fromLatin1(actual).split('\n'), QString::fromLatin1(expected).split('\n'));
}
} // namespace

class WinSpeedExport : public RaceFixture {
protected:
    void SetUp() override
    {
        RaceFixture::SetUp();
        setRaces({raceHeader(), clocking(), kNoArrival, clocking("US08 ABC000003", "150000", "X")});
        sim.update([](ClockScenario& s) {
            s.s3 = "S3" + QString(10, '0') + "JOHN SMITH" + QString(10, ' ') + QString(14, '0');
        });
    }

    QString weekFile() const { return inFolder("W0000020.D00"); }

    WinSpeedResult exportTo(const QString& date = "05/12/2008")
    {
        dialogs.queueInput(date);
        dialogs.queueSaveFile(weekFile());
        return exportWinSpeed(link(), dialogs, progress, lookups, folder);
    }
    QStringList weekLines() const { return parseRaceFile(readAllBytes(weekFile())); }

    FakeLookups lookups;
};

// 12 May 2008, a Monday in week 20, proposes W0000020.D00 and writes the record "0" as 0120508; the module's
// flyer name and the colours complete the records.
TEST_F(WinSpeedExport, WritesTheGoldenFileForOneClock)
{
    link().flags = {true, true}; // series an earlier operation left open are started afresh, not resumed
    exportTo();
    expectSameLines(readAllBytes(weekFile()), golden("W0000020.D00"));
    const auto& log = dialogs.log();
    ASSERT_EQ(log.size(), 3u);
    // The date proposed is the race date of the first header.
    EXPECT_EQ(QStringList({log[0].box.title, log[0].extra, log[1].extra, dialogs.lines().last()}),
              QStringList({"Enter liberation date", "05/12", folder + "|W0000020.D00",
                           "[Corvex] Race data copied to file OK."}));
    EXPECT_EQ(progress.lowerLine(), "3 Records Written");
    EXPECT_FALSE(progress.isShown() || port.isOpen());
}

TEST_F(WinSpeedExport, OnlyTrainingFlightsWriteNothing)
{
    setRaces({trainingHeader(), clocking(), clocking()});
    EXPECT_EQ(exportWinSpeed(link(), dialogs, progress, lookups, folder).outcome, WinSpeedOutcome::NoRaces);
    EXPECT_TRUE(dialogs.texts().value(0).startsWith("No races to save.  Any clockings are training data"));
    EXPECT_TRUE(filesInFolder().isEmpty());
}

// Races numbered 00 and 03: 2 races in this clock, 1 race WinSpeed might not read.
TEST_F(WinSpeedExport, RaceNumberedZeroAsksTheNotice)
{
    setRaces({raceHeader("00"), clocking(), raceHeader("03"), clocking()});
    for (const Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        dialogs.clearLog();
        dialogs.queueAnswer(answer);
        EXPECT_EQ(exportTo().outcome,
                  answer == Dialogs::Answer::No ? WinSpeedOutcome::Declined : WinSpeedOutcome::Saved);
        EXPECT_EQ(dialogs.lines()[0],
                  "[WinSpeed Notice] There are 2 races in this clock\r\n\r\nThere is 1 "
                  "race WinSpeed might not read\r\n\r\nDo you wish to save the clock data?");
        EXPECT_EQ(QFileInfo::exists(weekFile()), answer == Dialogs::Answer::Yes);
    }
    EXPECT_EQ(weekLines().filter(QRegularExpression("^3007045US08 ABC01234500[03]")).size(),
              2); // race 00 too
}

// Today (20 May 2008) is accepted; tomorrow is refused with the range (a year back is the dates' test),
// and an answer that is no date asks whether to try again.
TEST_F(WinSpeedExport, LiberationDateRangeAndUnreadableAnswers)
{
    for (const char* date : {"05/21/2008", "not a date", "05/20/2008"})
        dialogs.queueInput(QString(date));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueSaveFile(inFolder("W0000021.D00"));
    ASSERT_EQ(exportWinSpeed(link(), dialogs, progress, lookups, folder).outcome, WinSpeedOutcome::Saved);
    const auto& log = dialogs.log();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[1].kind, ScriptedDialogs::Logged::Kind::Beep);
    EXPECT_EQ(log[2].box.text, "Liberation Date Must be Between : \r\n\r\n05-20-2007   &   05-20-2008"
                               "\r\n\r\nCurrent year by default");
    EXPECT_EQ(log[3].box.title + "|" + log[3].box.text, "Invalid data type|Do you wish to try again ? ");
    EXPECT_EQ(log[5].extra, folder + "|W0000021.D00");
    EXPECT_TRUE(readAllBytes(inFolder("W0000021.D00")).startsWith("0200508\r\n"));

    dialogs.clearLog();
    dialogs.queueInput(QString("??"));
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(exportWinSpeed(link(), dialogs, progress, lookups, folder).outcome, WinSpeedOutcome::Cancelled);
    EXPECT_FALSE(progress.isShown());
}

// A file up to 350 days older than the liberation date (12 May 2008) is appended to; an older one is kept
// under its year (Yes) or replaced (No); a file that does not begin with a record "0" is left alone.
TEST_F(WinSpeedExport, ExistingFileIsAppendedKeptUnderItsYearReplacedOrLeftAlone)
{
    const QString old = inFolder("W0000020.07O");
    const QString question = "[Old race data] Do you wish to save\r\nthe race data from\r\n05/27/07?";
    const std::tuple<QString, std::optional<Dialogs::Answer>, QByteArray, QString> cases[] = {
        // the week file's first line, the answer to keep it, what stays before the new records, a message
        {"0280507", {}, "0280507\r\n1old\r\n", "[Corvex] Race data copied to file OK."}, // 350 days
        {"0270507",
         Dialogs::Answer::Yes,
         {},
         "[Old race data] Race data from 05/27/07\r\n               saved in\r\n" +
             QDir::toNativeSeparators(old)},
        {"0270507", Dialogs::Answer::No, {}, question},
        {"something else",
         {},
         "something else\r\n1old\r\n",
         "[Corvex] Error opening file\r\nRace data not saved"},
    };
    QDir().mkpath(folder);
    for (const auto& [firstLine, keep, before, message] : cases) {
        SCOPED_TRACE(firstLine.toStdString());
        QFile::remove(old);
        ASSERT_TRUE(writeRaceFile(weekFile(), {firstLine, "1old"}).ok);
        dialogs.clearLog();
        if (keep)
            dialogs.queueAnswer(*keep);
        const bool refused = firstLine.size() > 7;
        EXPECT_EQ(exportTo().outcome, refused ? WinSpeedOutcome::FileRefused : WinSpeedOutcome::Saved);
        expectSameLines(readAllBytes(weekFile()), before + (refused ? "" : golden("W0000020.D00")));
        EXPECT_EQ(dialogs.lines().contains(question), keep.has_value());
        EXPECT_TRUE(dialogs.lines().contains(message)) << dialogs.lines().join('|').toStdString();
        EXPECT_EQ(readAllBytes(old), keep == Dialogs::Answer::Yes ? "0270507\r\n1old\r\n" : "");
    }
}

// A flyer not in the database is reported once for all its races; from then on, and after a bird not
// found, every colour is UNKN.
TEST_F(WinSpeedExport, FlyerOrBirdNotFoundTurnsTheColoursUnknown)
{
    lookups.colours.remove(" ABC000002");
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    EXPECT_EQ(dialogs.texts().size(), 2);
    EXPECT_EQ(weekLines().filter(QRegularExpression("^3.*0UNKN$")).size(),
              2); // the bird not found and the next

    lookups.flyers.clear();
    setRaces({raceHeader(), clocking(), kNoArrival, raceHeader("04"), clocking()});
    dialogs.clearLog();
    lookups.colourQuestions = 0;
    QFile::remove(weekFile());
    ASSERT_EQ(exportTo().outcome, WinSpeedOutcome::Saved);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_EQ(dialogs.texts()[0],
              "No current record.\r\nClub #: 007 Flyer #: 045 JOHN SMITH           - Not found! \r\n\r\nThe "
              "DataBase on this computer might not contain\r\ncorrect color information.\r\n\r\n"
              "Color from this race file should not be transferred to WinSpeed.");
    EXPECT_EQ(lookups.colourQuestions, 0);
    EXPECT_EQ(weekLines().filter(QRegularExpression("^3.*0UNKN$")).size(), 3);
}

TEST(WinSpeedRecords, SortingIntoRaces)
{
    const WinSpeedRaces sorted = sortWinSpeedRaces({clocking("US08 ABC000001"), // before any race
                                                    raceHeader(), clocking("US08 ABC000002"),
                                                    clocking("UnknownC000003"), "odd", trainingHeader(),
                                                    clocking("US08 ABC000004"), // training
                                                    raceHeader("00", QString()), clocking("US08 ABC000005")});
    ASSERT_EQ(sorted.races.size(), 2u);
    EXPECT_EQ(sorted.numberedRaces, 1);
    ASSERT_EQ(sorted.races[0].clockings.size(), 1u);
    EXPECT_EQ(sorted.races[0].clockings[0].band(), "US08 ABC000002");
    ASSERT_EQ(sorted.races[1].clockings.size(), 1u);
    EXPECT_EQ(sorted.races[1].clockings[0].band(), "US08 ABC000005");
    // A header of 72 characters contributes "00" as positions 73-74.
    EXPECT_EQ(sorted.races[1].header.text(), raceHeader("00", "00"));
}

// What the golden file does not show: a name cut to 20, a count cut to its last 3 digits, a 72-character
// header's "00", a version figure with one decimal.
TEST(WinSpeedRecords, FieldsByteForByte)
{
    const RaceHeaderRecord h72(raceHeader("03", QString()) + "00");
    EXPECT_EQ(winSpeedRecord1(h72, 1234, "A very long flyer name here", winSpeedVersionStamp(1.5, 0)),
              QStringLiteral("1007045234A very long flyer na03 05/12 BOSTON  00-%1.%2.%3-1.5-0")
                  .arg(CORVEX_VERSION_MAJOR)
                  .arg(CORVEX_VERSION_MINOR)
                  .arg(CORVEX_VERSION_PATCH));
}

// Weeks begin on Monday; week 1 is the week of 1 January, however short.
TEST(WinSpeedRecords, WeekOfTheYear)
{
    const std::pair<QDate, int> cases[] = {
        {QDate(2008, 5, 12), 20}, {QDate(2008, 1, 1), 1}, {QDate(2008, 1, 6), 1},   {QDate(2008, 1, 7), 2},
        {QDate(2012, 1, 1), 1},   {QDate(2012, 1, 2), 2}, {QDate(2012, 12, 31), 54}};
    for (const auto& [date, week] : cases)
        EXPECT_EQ(winSpeedWeek(date), week) << date.toString(Qt::ISODate).toStdString();
}

TEST(WinSpeedRecords, LiberationDates)
{
    const QDate today(2008, 5, 20);
    const std::pair<const char*, QDate> cases[] = {
        {"05/12", QDate(2008, 5, 12)},      {" 5-12-08 ", QDate(2008, 5, 12)},
        {"2008-05-12", QDate(2008, 5, 12)}, {"13/05/2008", QDate(2008, 5, 13)},
        {"12 May", QDate(2008, 5, 12)},     {"02/30", QDate()}};
    for (const auto& [text, date] : cases)
        EXPECT_EQ(parseLiberationDate(text, today).value_or(QDate()), date) << text;
    EXPECT_TRUE(isLiberationDateAccepted(today.addDays(-366), today));
    EXPECT_FALSE(isLiberationDateAccepted(today.addDays(-367), today));
}

TEST(WinSpeedRecords, ExistingFileDateAndOldName)
{
    EXPECT_EQ(winSpeedFileDate("0150507\r\n1xx"), QDate(2007, 5, 15));
    for (const QByteArray head : {"1150507\r\n", "0ABCDEF\r\n", "0150", ""})
        EXPECT_EQ(winSpeedFileDate(head), std::nullopt) << head.toStdString();
    // W0000019.D00 of 2007 becomes W0000019.07O: only the extension changes, whatever its case.
    EXPECT_EQ(oldWinSpeedPath("/r/W0000019.D00", QDate(2007, 5, 1)), "/r/W0000019.07O");
    EXPECT_EQ(oldWinSpeedPath("/D00/w0000019.d00", QDate(2007, 5, 1)), "/D00/w0000019.07O");
    EXPECT_EQ(oldWinSpeedPath("/r/week", QDate(2010, 5, 1)), "/r/week.10O");
}
