#include "race_fixture.h"
#include "racedata/race_records.h"

#include <QTemporaryDir>

TEST(RaceRecords, KindByLengthAlone)
{
    using K = RaceRecordKind;
    const std::pair<int, RaceRecordKind> cases[] = {
        {0, K::Other},       {24, K::Other},      {25, K::Clocking},       {26, K::Clocking},
        {27, K::Other},      {48, K::Other},      {49, K::TrainingHeader}, {55, K::TrainingHeader},
        {56, K::RaceHeader}, {74, K::RaceHeader}, {75, K::Other}};
    for (const auto& [length, kind] : cases)
        EXPECT_EQ(raceRecordKind(QString(length, 'x')), kind) << length;
}

TEST(RaceRecords, FieldsByPositionNeverPastTheEnd)
{
    const RaceHeaderRecord h(raceHeader());
    EXPECT_EQ(QStringList({h.concourse(), h.combine(), h.club(), h.flyer(), h.rbmSerial(), h.clockStart(),
                           h.clockStop(), h.knockOff(), h.raceNumber(), h.raceDate(), h.liberationPoint(),
                           h.tail()}),
              QStringList({"0012", "03", "07", "045", "00012345", "051208073000", "051208180005",
                           "051208180000", "03", "05/12", "BOSTON  ", "01"}));
    EXPECT_EQ(RaceHeaderRecord(raceHeader(" 7")).raceNumberValue(), 7);
    EXPECT_EQ(RaceHeaderRecord(raceHeader("**")).raceNumberValue(), 0);
    const RaceHeaderRecord shortHeader("00120307");
    EXPECT_EQ(shortHeader.club() + "|" + shortHeader.flyer() + "|" + shortHeader.tail(), "07||");

    const ClockingRecord c(clocking("US08 ABC012345", "143005", "X"));
    EXPECT_EQ(QStringList({c.band(), c.clubLetters(), c.bandNumber(), c.bandSuffix(), c.arrivalTime(),
                           c.arrivalMonth(), c.arrivalDay(), c.finalCharacter()}),
              QStringList({"US08 ABC012345", " ABC", "012345", "0", "143005", "05", "12", "X"}));
    EXPECT_TRUE(c.hasArrival());
    EXPECT_FALSE(ClockingRecord("US08 ABC01234500000000000").hasArrival());
    EXPECT_EQ(ClockingRecord("US08 ABC0123").arrivalTime(), "");
    EXPECT_TRUE(isTrainingRecord(trainingHeader()));
    EXPECT_FALSE(isTrainingRecord(raceHeader()));
}

// The names a whole header gives are the download's replace test's.
TEST(RaceFileNames, NormalAndAlternativeOnlyLettersDigitsAndUnderscoreAroundOneDot)
{
    EXPECT_EQ(raceFileName("0012030704"), "");
    EXPECT_EQ(alternativeRaceFileName("0012030704500012345"), "");
    for (const char* safe : {"00120307.045", "AbCd0307.045", "0_12C_07.045"})
        EXPECT_TRUE(isSafeRaceFileName(safe)) << safe;
    for (const char* unsafe : {"********.***", "../../et.c/p", "..\\..\\x.045", "0012 307.045",
                               "00120307.0.5", ".045", "00120307.", "0012030\xC3\xA9.045", ""})
        EXPECT_FALSE(isSafeRaceFileName(QString::fromUtf8(unsafe))) << unsafe;
}

// One record a line with CR LF, nothing else; read back at any line end, commas and spaces kept.
TEST(RaceFile, BytesLinesAndAWholeReplace)
{
    EXPECT_EQ(raceFileBytes({"AB", "C"}), QByteArray("AB\r\nC\r\n"));
    // Single bytes, and a stray line end inside a record cannot split it.
    EXPECT_EQ(raceFileBytes({QString::fromUtf8("Zürich\r\n1")}), QByteArray("Z\xFCrich  1\r\n"));
    EXPECT_EQ(parseRaceFile("AB\r\n\r\nC\rD\nE"), (QStringList{"AB", "", "C", "D", "E"}));
    EXPECT_EQ(parseRaceFile("  a,b\x1b[2J\t \r\n"), (QStringList{"  a,b [2J  "}));
    EXPECT_TRUE(parseRaceFile("").isEmpty());

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("00120307.045");
    const QStringList records{raceHeader(), clocking(), clocking("US08 ABC000001")};
    ASSERT_TRUE(writeRaceFile(path, {"old"}).ok);
    ASSERT_TRUE(writeRaceFile(path, records).ok);
    EXPECT_EQ(readRaceFile(path).records, records);
    EXPECT_EQ(readFirstRaceRecord(path), raceHeader());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"00120307.045"});
    EXPECT_FALSE(readRaceFile(QDir(dir.path()).filePath("missing.045")).ok);

    // A write that fails keeps the old file whole.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool refused = !writeRaceFile(path, {"new"}).ok;
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readRaceFile(path).records, refused ? records : QStringList{"new"});
}
