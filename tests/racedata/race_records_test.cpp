#include "race_fixture.h"
#include "racedata/race_records.h"

#include <QTemporaryDir>

TEST(RaceRecords, KindByLengthAlone)
{
    EXPECT_EQ(raceRecordKind(QString(74, 'x')), RaceRecordKind::RaceHeader);
    EXPECT_EQ(raceRecordKind(QString(56, 'x')), RaceRecordKind::RaceHeader);
    EXPECT_EQ(raceRecordKind(QString(55, 'x')), RaceRecordKind::TrainingHeader);
    EXPECT_EQ(raceRecordKind(QString(49, 'x')), RaceRecordKind::TrainingHeader);
    EXPECT_EQ(raceRecordKind(QString(48, 'x')), RaceRecordKind::Other);
    EXPECT_EQ(raceRecordKind(QString(75, 'x')), RaceRecordKind::Other);
    EXPECT_EQ(raceRecordKind(QString(25, 'x')), RaceRecordKind::Clocking);
    EXPECT_EQ(raceRecordKind(QString(26, 'x')), RaceRecordKind::Clocking);
    EXPECT_EQ(raceRecordKind(QString(27, 'x')), RaceRecordKind::Other);
    EXPECT_EQ(raceRecordKind(QString()), RaceRecordKind::Other);
    EXPECT_TRUE(isHeaderRecord(trainingHeader()));
    EXPECT_FALSE(isHeaderRecord(clocking()));
}

TEST(RaceRecords, HeaderFieldsByPosition)
{
    const RaceHeaderRecord h(raceHeader());
    ASSERT_EQ(h.text().size(), 74);
    EXPECT_EQ(h.concourse(), "0012");
    EXPECT_EQ(h.combine(), "03");
    EXPECT_EQ(h.club(), "07");
    EXPECT_EQ(h.flyer(), "045");
    EXPECT_EQ(h.rbmSerial(), "00012345");
    EXPECT_EQ(h.clockStart(), "051208073000");
    EXPECT_EQ(h.clockStop(), "051208180005");
    EXPECT_EQ(h.knockOff(), "051208180000");
    EXPECT_EQ(h.raceNumber(), "03");
    EXPECT_EQ(h.raceNumberValue(), 3);
    EXPECT_EQ(h.raceDate(), "05/12");
    EXPECT_EQ(h.liberationPoint(), "BOSTON  ");
    EXPECT_EQ(h.tail(), "01");
    EXPECT_FALSE(h.isTraining());
    EXPECT_TRUE(RaceHeaderRecord(trainingHeader()).isTraining());
    EXPECT_EQ(RaceHeaderRecord(raceHeader(" 7")).raceNumberValue(), 7);
    EXPECT_EQ(RaceHeaderRecord(raceHeader("**")).raceNumberValue(), 0);
}

TEST(RaceRecords, ShortRecordsReadAsBlanksNeverPastTheEnd)
{
    const RaceHeaderRecord h("00120307");
    EXPECT_EQ(h.club(), "07");
    EXPECT_EQ(h.flyer(), "");
    EXPECT_EQ(h.tail(), "");
    EXPECT_EQ(h.raceNumberValue(), 0);
    const ClockingRecord c("US08 ABC0123");
    EXPECT_EQ(c.band(), "US08 ABC0123");
    EXPECT_EQ(c.arrivalTime(), "");
    EXPECT_EQ(c.finalCharacter(), "");
}

TEST(RaceRecords, ClockingFieldsAndNoArrival)
{
    const ClockingRecord c(clocking("US08 ABC012345", "143005", "X"));
    EXPECT_EQ(c.band(), "US08 ABC012345");
    EXPECT_EQ(c.clubLetters(), " ABC");
    EXPECT_EQ(c.bandNumber(), "012345");
    EXPECT_EQ(c.bandSuffix(), "0");
    EXPECT_EQ(c.arrivalTime(), "143005");
    EXPECT_EQ(c.arrivalMonth(), "05");
    EXPECT_EQ(c.arrivalDay(), "12");
    EXPECT_EQ(c.finalCharacter(), "X");
    EXPECT_TRUE(c.hasArrival());
    EXPECT_FALSE(ClockingRecord("US08 ABC01234500000000000").hasArrival());
}

TEST(RaceFileNames, NormalAndAlternativeFromTheFirstRecord)
{
    EXPECT_EQ(raceFileName(raceHeader()), "00120307.045");
    EXPECT_EQ(alternativeRaceFileName(raceHeader()), "05120807.045");
    EXPECT_EQ(raceFileName("0012030704"), "");
    EXPECT_EQ(alternativeRaceFileName("0012030704500012345"), "");
}

TEST(RaceFileNames, OnlyLettersDigitsAndUnderscoreAroundOneDot)
{
    for (const char* safe : {"00120307.045", "AbCd0307.045", "0_12C_07.045"})
        EXPECT_TRUE(isSafeRaceFileName(safe)) << safe;
    for (const char* unsafe :
         {"********.***", "0012*307.045", "../../et.c/p", "..\\..\\x.045", "0012/307.045", "0012 307.045",
          "00120307.0.5", ".045", "00120307.", "0012030\xC3\xA9.045", ""})
        EXPECT_FALSE(isSafeRaceFileName(QString::fromUtf8(unsafe))) << unsafe;
}

TEST(RaceFileFormat, OneRecordALineWithCrLfAndNothingElse)
{
    EXPECT_EQ(raceFileBytes({"AB", "C"}), QByteArray("AB\r\nC\r\n"));
    EXPECT_EQ(raceFileBytes({}), QByteArray());
    // Single bytes, and a stray line end inside a record cannot split it.
    EXPECT_EQ(raceFileBytes({QString::fromUtf8("Zürich\r\n1")}), QByteArray("Z\xFCrich  1\r\n"));
}

TEST(RaceFileFormat, ReadsLinesKeepingCommasAndSpaces)
{
    EXPECT_EQ(parseRaceFile("AB\r\nC\r\n"), (QStringList{"AB", "C"}));
    EXPECT_EQ(parseRaceFile("AB\nC"), (QStringList{"AB", "C"}));
    EXPECT_EQ(parseRaceFile("AB\r\n\r\nC\r"), (QStringList{"AB", "", "C"}));
    EXPECT_EQ(parseRaceFile("  a,b\x1b[2J\t \r\n"), (QStringList{"  a,b [2J  "}));
    EXPECT_EQ(parseRaceFile("\xFC"), (QStringList{QString::fromUtf8("ü")}));
    EXPECT_TRUE(parseRaceFile("").isEmpty());
}

TEST(RaceFileFormat, WrittenFileReadsBackAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("00120307.045");
    const QStringList records{raceHeader(), clocking(), clocking("US08 ABC000001")};
    ASSERT_TRUE(writeRaceFile(path, records).ok);
    ASSERT_TRUE(writeRaceFile(path, records).ok); // replaces
    const RaceFileRead read = readRaceFile(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.records, records);
    EXPECT_EQ(readFirstRaceRecord(path), raceHeader());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"00120307.045"});
    EXPECT_FALSE(readRaceFile(QDir(dir.path()).filePath("missing.045")).ok);
}

TEST(RaceFileFormat, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("00120307.045");
    ASSERT_TRUE(writeRaceFile(path, {"old"}).ok);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool refused = !writeRaceFile(path, {"new"}).ok;
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!refused)
        GTEST_SKIP() << "the file system lets this user write anyway";
    EXPECT_EQ(readAllBytes(path), QByteArray("old\r\n"));
}

TEST(RaceFileFormat, TrainingMarkAtPosition45)
{
    EXPECT_TRUE(isTrainingRecord(trainingHeader()));
    EXPECT_FALSE(isTrainingRecord(raceHeader()));
    EXPECT_FALSE(isTrainingRecord("short"));
}
