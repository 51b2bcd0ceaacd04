#include "report_fixture.h"
#include "reports/race_result.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

RaceResult resultOf(const QStringList& records, int race = 0)
{
    MapOwners owners;
    owners.owners.insert(" ABC012345", "John Smith");
    owners.owners.insert(" ABC000777", "Bartholomew Fitzgerald-Smythe");
    return computeRaceResult(raceFileContent(records), race, owners);
}

QString filled(const QString& text)
{
    return text.leftJustified(80, QLatin1Char('-'));
}

} // namespace

TEST(RaceFileContent, SortsRecordsByLengthAndCompletesShortHeaders)
{
    const QString header72 = raceHeader().left(72);
    const QString header73 = raceHeader().left(73);
    QStringList records{header72,
                        clocking("000001", "083000", "0512"),
                        QString(48, 'x'),
                        header73,
                        clocking("000002", "083000", "0512") + "7",
                        QString(24, '1'),
                        QString(75, '1'),
                        trainingHeader().left(49)};
    // More races and birds than the old fixed tables held are shown whole.
    for (int bird = 0; bird < 600; ++bird)
        records << clocking(QStringLiteral("%1").arg(bird, 6, 10, QLatin1Char('0')), "083000", "0512");
    const RaceFileContent content = raceFileContent(records);
    EXPECT_EQ(content.headers, (QStringList{header72 + "**", header73, trainingHeader().left(49)}));
    ASSERT_EQ(content.clockings.size(), 602u);
    EXPECT_EQ(content.clockings[0].race, 0);
    EXPECT_EQ(content.clockings[1].race, 1);
    EXPECT_EQ(raceNumbers(content), (QStringList{"1", "2", "3"}));
}

// A race's fields are the golden preview's.
TEST(RaceFields, TrainingHeadersFillTheirFields)
{
    FixedToday today;
    const RaceFields training = resultOf({trainingHeader()}).fields;
    EXPECT_EQ((QStringList{training.raceNumber, training.raceDate, training.liberationPoint,
                           training.clockStop, training.knockOff, training.devAmount, training.devLabel,
                           training.clockStart, training.rbmSerial}),
              (QStringList{"Training", "N/A", "N/A", "N/A", "N/A", "N/A", "", "05/12/08 07-30-00", "12345"}));
    // 49 to 55 characters are a training flight, 56 to 74 a race.
    for (const int length : {49, 55, 56, 72, 74})
        EXPECT_EQ(resultOf({raceHeader().left(length)}).fields.training, length <= 55) << length;
}

TEST(ClockCheck, DeviationIsClockTimeMinusVerifiedTime)
{
    FixedToday today;
    // {clock stop (the verified time), knock-off (the clock's time), deviation}; how the times read is the
    // golden preview's.
    const std::tuple<const char*, const char*, const char*, const QString&> cases[] = {
        {"051208080005", "051208080000", "-5", kSeconds},
        {"051208080000", "051208080011", "11", kPossibleClockError},
        {"051208080000", "051208080010", "10", kSeconds},
        {"051208080010", "051208080000", "-10", kSeconds},
        {"051208080011", "051208080000", "-11", kPossibleClockError},
        // Across midnight the full difference counts.
        {"051208235958", "051308000003", "5", kSeconds},
        // Month 00 of the clock stop: no knock-off, whatever the clock time holds.
        {"000000000000", "051208080044", "0", kSeconds},
        // A time that cannot be read cannot be checked: flagged, not passed.
        {"051208080000", "05120808XX00", "", kPossibleClockError},
    };
    for (const auto& [stop, knockOff, amount, label] : cases) {
        const RaceFields f = resultOf({raceHeader(stop, knockOff)}).fields;
        EXPECT_EQ(QStringList({f.devAmount, f.devLabel}), QStringList({amount, label}))
            << stop << " " << knockOff;
        EXPECT_EQ(f.noKnockOff, QString(stop).startsWith("00"));
    }
    const RaceFields none = resultOf({raceHeader("000000000000", "051208080044")}).fields;
    EXPECT_EQ(QStringList({none.clockStop, none.knockOff}), QStringList({kNoKnockOff, kNoKnockOff}));
}

TEST(ResultList, ListAndReportLinesHoldPositionOwnerBandTimeAndDate)
{
    FixedToday today;
    const RaceResult r =
        resultOf({raceHeader(), clocking("012345", "083015", "0512"), clocking("099999", "083020", "0512"),
                  clocking("000777", "000000", "0000")});
    EXPECT_EQ(r.listLines, (QStringList{"1  John Smith           US08 ABC012345C 08:30:15 05/12",
                                        "2  Unknown flyer        US08 ABC099999C 08:30:20 05/12",
                                        "3  Bartholomew Fitzgera US08 ABC000777C 00:00:00 00/00"}));
    EXPECT_EQ(
        r.reportFileLines,
        (QStringList{"Pos       Owner Name               Band Number         Time           Date      ",
                     QString(80, '-'),
                     "1         John Smith               US08 ABC012345      08:30:15       05/12   ",
                     "2         Unknown flyer            US08 ABC099999      08:30:20       05/12   ",
                     "3         Bartholomew Fitzgerald-SmUS08 ABC000777      00:00:00       00/00   "}));
    EXPECT_EQ(resultOf({trainingHeader()}).reportFileLines.value(1), filled("-----TRAINING RACE"));
}

TEST(DayLines, ANewDayGetsOneLineInTheReportFileOnly)
{
    FixedToday today;
    const auto day = [](const char* number) {
        return filled(QStringLiteral("------Day %1 birds").arg(number));
    };
    const QString invalid = filled("------Invalid date, or cannot span years.");
    // {dates of the birds in file order ("0000" for no time), the report file's lines below the heads: a
    // bird's position, or the whole day line}
    const std::pair<QStringList, QStringList> cases[] = {
        {{"0512", "0512", "0514"}, {"1", "2", day("3"), "3"}},
        {{"0512", "0513", "0513"}, {"1", day("2"), "2", "3"}},
        {{"0513", "0512", "1340", "0514"}, {"1", invalid, "2", invalid, "3", day("2"), "4"}},
        {{"0000", "0512", "0000", "0512"}, {"1", "2", "3", "4"}},
    };
    for (const auto& [dates, expected] : cases) {
        QStringList records{raceHeader()};
        for (const QString& date : dates)
            records << clocking("000001", date == "0000" ? "000000" : "183000", date);
        const RaceResult r = resultOf(records);
        QStringList seen;
        for (const QString& line : r.reportFileLines.mid(2))
            seen << (line.startsWith("------") ? line : line.section(' ', 0, 0));
        EXPECT_EQ(seen, expected) << dates.join(',').toStdString();
        EXPECT_EQ(r.listLines.size(), dates.size()) << "the list shows no day lines";
    }
}

TEST(ReportFile, NamedAfterTheSerialAndTheFlyerAndWrittenWithCrLf)
{
    // The last five digits of the RBM serial (header 12-19) and the flyer (header 9-11).
    EXPECT_EQ(reportFileNameFor(raceHeader().replace(11, 8, "98765432").replace(8, 3, "001")),
              "RBM65432.001");
    QTemporaryDir dir;
    const ReportFileWrite written = writeReportFile(dir.path() + "/", "RBM12345.045", {"first", "second"});
    EXPECT_EQ(written.path, dir.path() + "/RBM12345.045");
    EXPECT_EQ(readFile(written.path), QByteArray("first\r\nsecond\r\n"));
    // Replacing keeps nothing of the older, longer file.
    ASSERT_TRUE(writeReportFile(dir.path(), "RBM12345.045", {"x"}).ok);
    EXPECT_EQ(readFile(written.path), QByteArray("x\r\n"));
}

TEST(ReportFile, NameFromOutsideInputMustBeLettersAndDigits)
{
    QTemporaryDir dir;
    EXPECT_TRUE(isSafeReportFileName("RBM12345.045"));
    for (const char* bad : {"RBM1/../.045", "RBM12 45.045", "RBM***45.045", "RBM12345.", "RBM1.2.045"})
        EXPECT_FALSE(isSafeReportFileName(bad)) << bad;
    const ReportFileWrite written = writeReportFile(dir.path(), "RBM../...045", {"x"});
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, "Invalid file name - " + QDir::toNativeSeparators(dir.filePath("RBM../...045")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    // A missing file is told apart from a missing folder (the chooser's test).
    const RaceFileLoad missingFile = loadRaceFile(dir.filePath("00120307.045"));
    EXPECT_FALSE(missingFile.ok || missingFile.folderMissing);
}
