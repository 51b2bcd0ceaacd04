#include "report_fixture.h"
#include "reports/race_result.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

RaceResult resultOf(const QStringList& records, int race = 0)
{
    MapOwners owners;
    return computeRaceResult(raceFileContent(records), race, owners);
}

QString dayLine(int day)
{
    return QStringLiteral("------Day %1 birds").arg(day).leftJustified(80, QLatin1Char('-'));
}

const QString kInvalidDateLine =
    QStringLiteral("------Invalid date, or cannot span years.").leftJustified(80, QLatin1Char('-'));

} // namespace

TEST(RaceFileContent, SortsRecordsByLengthAndCompletesShortHeaders)
{
    const QString header72 = raceHeader().left(72);
    const QString header73 = raceHeader().left(73);
    const RaceFileContent content =
        raceFileContent(QStringList{header72, clocking("000001", "083000", "0512"), QString(48, 'x'),
                                    header73, clocking("000002", "083000", "0512") + "7", QString(24, '1'),
                                    QString(75, '1'), trainingHeader().left(49)});

    ASSERT_EQ(content.headers.size(), 3);
    EXPECT_EQ(content.headers[0], header72 + "**");
    EXPECT_EQ(content.headers[1], header73);
    EXPECT_EQ(content.headers[2].size(), 49);
    ASSERT_EQ(content.clockings.size(), 2u);
    EXPECT_EQ(content.clockings[0].race, 0);
    EXPECT_EQ(content.clockings[1].race, 1);
    EXPECT_EQ(raceNumbers(content), (QStringList{"1", "2", "3"}));
}

TEST(RaceFileContent, HoldsMoreRacesAndClockingsThanTheOldTables)
{
    QStringList records;
    for (int race = 0; race < 12; ++race) {
        records << raceHeader();
        for (int bird = 0; bird < 50; ++bird)
            records << clocking(QStringLiteral("%1").arg(race * 100 + bird, 6, 10, QLatin1Char('0')),
                                "083000", "0512");
    }
    const RaceFileContent content = raceFileContent(records);
    EXPECT_EQ(content.headers.size(), 12);
    EXPECT_EQ(content.clockings.size(), 600u);
    MapOwners owners;
    EXPECT_EQ(computeRaceResult(content, 11, owners).listLines.size(), 50);
}

TEST(RaceFields, RaceHeaderFillsEveryField)
{
    FixedToday today;
    const RaceFields f = resultOf({raceHeader()}).fields;
    EXPECT_FALSE(f.training);
    EXPECT_EQ(f.raceNumber, "04");
    EXPECT_EQ(f.comboText, "1");
    EXPECT_EQ(f.raceDate, "05/12");
    EXPECT_EQ(f.liberationPoint, "SPRINGFL");
    EXPECT_EQ(f.concourse, "0012");
    EXPECT_EQ(f.combine, "03");
    EXPECT_EQ(f.clubNo, "07");
    EXPECT_EQ(f.flyerNo, "045");
    EXPECT_EQ(f.rbmSerial, "12345");
    EXPECT_EQ(f.clockStart, "05/12/08 07:30:00");
    EXPECT_EQ(f.clockStop, "05/12/08 08:00:00");
    EXPECT_EQ(f.knockOff, "05/12/08 08:00:00");
    EXPECT_FALSE(f.noKnockOff);
}

TEST(RaceFields, HeaderLengthDecidesBetweenRaceAndTraining)
{
    FixedToday today;
    EXPECT_TRUE(resultOf({trainingHeader()}).fields.training);
    EXPECT_TRUE(resultOf({trainingHeader().left(49)}).fields.training);
    EXPECT_FALSE(resultOf({raceHeader().left(56)}).fields.training);

    const RaceFields f = resultOf({trainingHeader()}).fields;
    EXPECT_EQ(f.raceNumber, "Training");
    EXPECT_EQ(f.raceDate, "N/A");
    EXPECT_EQ(f.liberationPoint, "N/A");
    EXPECT_EQ(f.clockStop, "N/A");
    EXPECT_EQ(f.knockOff, "N/A");
    EXPECT_EQ(f.devAmount, "N/A");
    EXPECT_EQ(f.devLabel, "");
    EXPECT_EQ(f.clockStart, "05/12/08 07-30-00");
    EXPECT_EQ(f.rbmSerial, "12345");
}

TEST(ClockCheck, DeviationIsClockTimeMinusVerifiedTime)
{
    FixedToday today;
    struct Case {
        const char* stop;
        const char* knockOff;
        const char* amount;
        const QString& label;
    };
    const Case cases[] = {
        {"051208080005", "051208080000", "-5", kSeconds},
        {"051208080000", "051208080011", "11", kPossibleClockError},
        {"051208080000", "051208080010", "10", kSeconds},
        {"051208080010", "051208080000", "-10", kSeconds},
        {"051208080011", "051208080000", "-11", kPossibleClockError},
        {"051208235958", "051308000003", "5", kSeconds},
    };
    for (const Case& c : cases) {
        const RaceFields f = resultOf({raceHeader(c.stop, c.knockOff)}).fields;
        EXPECT_EQ(f.devAmount, c.amount) << c.stop << " " << c.knockOff;
        EXPECT_EQ(f.devLabel, c.label) << c.stop << " " << c.knockOff;
    }
}

TEST(ClockCheck, MonthZeroMeansNoKnockOff)
{
    FixedToday today;
    const RaceFields f = resultOf({raceHeader("000000000000", "051208080044")}).fields;
    EXPECT_TRUE(f.noKnockOff);
    EXPECT_EQ(f.clockStop, "NO Knock Off");
    EXPECT_EQ(f.knockOff, "NO Knock Off");
    EXPECT_EQ(f.devAmount, "0");
    EXPECT_EQ(f.devLabel, "second(s)");
}

TEST(ClockCheck, UnreadableTimesAreFlaggedNotPassed)
{
    FixedToday today;
    const RaceFields f = resultOf({raceHeader("051208080000", "05120808XX00")}).fields;
    EXPECT_EQ(f.knockOff, "05/12/08 08:XX:00");
    EXPECT_EQ(f.devAmount, "");
    EXPECT_EQ(f.devLabel, kPossibleClockError);
}

TEST(ResultList, LinesHoldPositionOwnerBandTimeAndDate)
{
    FixedToday today;
    MapOwners owners;
    owners.owners.insert(" ABC012345", "John Smith");
    const RaceFileContent content = raceFileContent(QStringList{
        raceHeader(), clocking("012345", "083015", "0512"), clocking("099999", "083020", "0512")});
    const RaceResult r = computeRaceResult(content, 0, owners);

    EXPECT_EQ(owners.asked, (QStringList{" ABC012345", " ABC099999"}));
    ASSERT_EQ(r.listLines.size(), 2);
    EXPECT_EQ(r.listLines[0], "1  John Smith           US08 ABC012345C 08:30:15 05/12");
    EXPECT_EQ(r.listLines[1], "2  Unknown flyer        US08 ABC099999C 08:30:20 05/12");
    EXPECT_EQ(r.listLines[0].size(), 54);

    ASSERT_EQ(r.reportFileLines.size(), 4);
    EXPECT_EQ(r.reportFileLines[0],
              "Pos       Owner Name               Band Number         Time           Date      ");
    EXPECT_EQ(r.reportFileLines[1], QString(80, '-'));
    EXPECT_EQ(r.reportFileLines[2],
              "1         John Smith               US08 ABC012345      08:30:15       05/12   ");
    EXPECT_EQ(r.reportFileName, "RBM12345.045");
}

TEST(ResultList, TrainingReportCarriesTheTrainingLine)
{
    FixedToday today;
    const RaceResult r = resultOf({trainingHeader(), clocking("012345", "083015", "0512")});
    ASSERT_GE(r.reportFileLines.size(), 2);
    EXPECT_EQ(r.reportFileLines[1], QStringLiteral("-----TRAINING RACE").leftJustified(80, QLatin1Char('-')));
    EXPECT_EQ(r.listLines.size(), 1);
}

TEST(ResultList, SecondRaceShowsOnlyItsOwnClockings)
{
    FixedToday today;
    const QStringList records{
        raceHeader(), clocking("000001", "083000", "0512"), clocking("000002", "083100", "0512"),
        raceHeader("051208080000", "051208080000", "05"), clocking("000003", "090000", "0519")};
    const RaceResult second = resultOf(records, 1);
    EXPECT_EQ(second.fields.comboText, "2");
    EXPECT_EQ(second.fields.raceNumber, "05");
    ASSERT_EQ(second.listLines.size(), 1);
    EXPECT_TRUE(second.listLines[0].startsWith("1  Unknown flyer        US08 ABC000003C"));
    // Days count from the race's own first bird, not from the first race's.
    EXPECT_FALSE(second.reportFileLines.join('\n').contains("------Day"));
}

TEST(DayLines, NewDayGetsOneLineInTheReportFileOnly)
{
    FixedToday today;
    const RaceResult r =
        resultOf({raceHeader(), clocking("000001", "183000", "0512"), clocking("000002", "190000", "0512"),
                  clocking("000003", "070000", "0514")});
    ASSERT_EQ(r.listLines.size(), 3);
    for (const QString& line : r.listLines)
        EXPECT_FALSE(line.contains("Day"));
    ASSERT_EQ(r.reportFileLines.size(), 6);
    EXPECT_TRUE(r.reportFileLines[3].startsWith("2 "));
    EXPECT_EQ(r.reportFileLines[4], dayLine(3));
    EXPECT_TRUE(r.reportFileLines[5].startsWith("3 "));
}

TEST(DayLines, BackwardsOrUnreadableDateGetsTheInvalidLineAndKeepsTheDay)
{
    FixedToday today;
    const RaceResult r =
        resultOf({raceHeader(), clocking("000001", "183000", "0513"), clocking("000002", "190000", "0512"),
                  clocking("000003", "070000", "1340"), clocking("000004", "070000", "0514")});
    ASSERT_EQ(r.reportFileLines.size(), 2 + 4 + 3);
    EXPECT_EQ(r.reportFileLines[3], kInvalidDateLine);
    EXPECT_TRUE(r.reportFileLines[4].startsWith("2 "));
    EXPECT_EQ(r.reportFileLines[5], kInvalidDateLine);
    EXPECT_EQ(r.reportFileLines[7], dayLine(2));
    EXPECT_EQ(r.listLines.size(), 4);
}

TEST(DayLines, ClockingWithoutTimeIsListedWithZerosAndNoDayLine)
{
    FixedToday today;
    const RaceResult r =
        resultOf({raceHeader(), clocking("000001", "000000", "0000"), clocking("000002", "183000", "0512"),
                  clocking("000003", "000000", "0000")});
    ASSERT_EQ(r.listLines.size(), 3);
    EXPECT_EQ(r.listLines[0], "1  Unknown flyer        US08 ABC000001C 00:00:00 00/00");
    EXPECT_EQ(r.listLines[2].left(3), "3  ");
    EXPECT_EQ(r.reportFileLines.size(), 5);
    EXPECT_FALSE(r.reportFileLines.join('\n').contains("------Day"));
    EXPECT_FALSE(r.reportFileLines.join('\n').contains("Invalid"));
}

TEST(ReportFile, IsWrittenBesideTheRaceFileWithCrLf)
{
    QTemporaryDir dir;
    const ReportFileWrite written =
        writeReportFile(dir.path() + "/", "RBM12345.045", QStringList{"first", "second"});
    ASSERT_TRUE(written.ok) << written.error.toStdString();
    EXPECT_EQ(written.path, dir.path() + "/RBM12345.045");
    EXPECT_EQ(readFile(written.path), QByteArray("first\r\nsecond\r\n"));

    // Replacing keeps nothing of the older, longer file.
    ASSERT_TRUE(writeReportFile(dir.path(), "RBM12345.045", QStringList{"x"}).ok);
    EXPECT_EQ(readFile(written.path), QByteArray("x\r\n"));
}

TEST(ReportFile, NameFromOutsideInputMustBeLettersAndDigits)
{
    QTemporaryDir dir;
    EXPECT_TRUE(isSafeReportFileName("RBM12345.045"));
    for (const QString& bad :
         {QStringLiteral("RBM1/../.045"), QStringLiteral("RBM12 45.045"), QStringLiteral("RBM***45.045"),
          QStringLiteral("RBM12345."), QStringLiteral("RBM1.2.045")})
        EXPECT_FALSE(isSafeReportFileName(bad)) << bad.toStdString();

    QString header = raceHeader();
    header.replace(14, 5, "../..");
    const QString name = reportFileNameFor(header);
    const ReportFileWrite written = writeReportFile(dir.path(), name, QStringList{"x"});
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, "Invalid file name - " + QDir::toNativeSeparators(dir.filePath(name)));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(ReportFile, LoadingReportsAMissingFolderApart)
{
    QTemporaryDir dir;
    EXPECT_TRUE(loadRaceFile(dir.filePath("gone/00120307.045")).folderMissing);
    const RaceFileLoad missingFile = loadRaceFile(dir.filePath("00120307.045"));
    EXPECT_FALSE(missingFile.ok);
    EXPECT_FALSE(missingFile.folderMissing);
}
