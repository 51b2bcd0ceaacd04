#include "admin/schema.h"
#include "dos_fixture.h"
#include "dosimport/dos_files.h"

TEST(DosFields, CommasAndLineEndsSeparateAndQuotesKeepCommas)
{
    const QByteArray bytes("\"Smith, John\",plain\r\n  lead,\"\"\nlast\rafter\r\n");
    EXPECT_EQ(ReadDosFields(bytes),
              (QStringList{QStringLiteral("Smith, John"), QStringLiteral("plain"), QStringLiteral("lead"),
                           QString(), QStringLiteral("last"), QStringLiteral("after")}));
}

TEST(DosFields, UnclosedQuoteEndsAtTheLineAndCtrlZEndsTheFile)
{
    EXPECT_EQ(ReadDosFields("\"open, field\r\nnext\x1Agarbage,more"),
              (QStringList{QStringLiteral("open, field"), QStringLiteral("next")}));
    EXPECT_TRUE(ReadDosFields(QByteArray()).isEmpty());
    // Text after a closing quote is dropped up to the separator.
    EXPECT_EQ(ReadDosFields("\"a\"junk,b"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(DosFields, TextIsCodePage437)
{
    QByteArray bytes("\"S3   0105123M\x81ller");
    bytes += "\"\r\n";
    EXPECT_EQ(ReadDosFields(bytes).value(0), QStringLiteral("S3   0105123Müller"));
}

TEST(AdminFileRecords, OnlyS3FieldsCountAndAreCutByPosition)
{
    const QByteArray bytes =
        dosText({QStringLiteral("\"S1          COMBINE             US\",\"S2   0105   CLUB\""),
                 quoted(s3Record(QStringLiteral("05"), QStringLiteral("123"), QStringLiteral("Smith, John"),
                                 QStringLiteral("1234567"), QStringLiteral("7654321"))),
                 QStringLiteral("s3 lower case is not a flyer"), QStringLiteral("S3   01")});
    const std::vector<FlyerRecord> records = ParseAdminFile(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].combine, QStringLiteral("01"));
    EXPECT_EQ(records[0].club, QStringLiteral("05"));
    EXPECT_EQ(records[0].flyer, QStringLiteral("123"));
    EXPECT_EQ(records[0].name, QStringLiteral("Smith, John         "));
    EXPECT_EQ(records[0].longitude, QStringLiteral("1234567"));
    EXPECT_EQ(records[0].latitude, QStringLiteral("7654321"));
    EXPECT_EQ(records[0].birdFileName(), QStringLiteral("Z0105.123"));
    // A record cut short reads as blanks, never past its end.
    EXPECT_EQ(records[1].combine, QStringLiteral("01"));
    EXPECT_TRUE(records[1].club.isEmpty());
    EXPECT_TRUE(records[1].name.isEmpty());
    EXPECT_FALSE(records[1].birdFileNameValid());
}

TEST(AdminFileRecords, AtMost999FlyersAnd500Birds)
{
    QStringList flyers, birds;
    for (int i = 0; i < 1005; ++i) {
        flyers << quoted(s3Record(QStringLiteral("01"),
                                  QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
                                  QStringLiteral("F%1").arg(i)));
        birds << quoted(birdRecord(QStringLiteral("US08 ABC%1").arg(i, 6, 10, QLatin1Char('0'))));
    }
    const auto records = ParseAdminFile(dosText(flyers));
    ASSERT_EQ(records.size(), 999u);
    EXPECT_EQ(records.back().name.trimmed(), QStringLiteral("F998"));
    const QStringList parsed = ParseBirdFile(dosText(birds));
    ASSERT_EQ(parsed.size(), 500);
    EXPECT_EQ(parsed.back(), birdRecord(QStringLiteral("US08 ABC000499")));
}

TEST(BirdFileRecords, BlankFieldsAreNoBirdsAndPartsComeByPosition)
{
    const QStringList records =
        ParseBirdFile(dosText({quoted(birdRecord(QStringLiteral("us08 abc012345"), QStringLiteral("H"),
                                                 QStringLiteral("12345ABCDE"), QStringLiteral("1"))),
                               QString(), QStringLiteral("\"   \""), QStringLiteral("CA09")}));
    ASSERT_EQ(records.size(), 2);
    const Bird bird = BirdFromRecord(records[0], 42);
    EXPECT_EQ(bird.BirdFlyerID, 42);
    EXPECT_EQ(bird.NatOrg, QStringLiteral("us"));
    EXPECT_EQ(bird.HatchYr, QStringLiteral("08"));
    EXPECT_EQ(bird.clubletters, QStringLiteral(" abc"));
    EXPECT_EQ(bird.bnumber, QStringLiteral("012345"));
    EXPECT_EQ(bird.sex, QStringLiteral("H"));
    EXPECT_EQ(bird.elecnumber, QStringLiteral("12345ABCDE"));
    EXPECT_EQ(bird.color, QStringLiteral("NONE"));
    EXPECT_EQ(bird.type, QStringLiteral("1"));
    const Bird shortBird = BirdFromRecord(records[1], 1);
    EXPECT_EQ(shortBird.HatchYr, QStringLiteral("09"));
    EXPECT_TRUE(shortBird.bnumber.isEmpty());
}

TEST(BirdFileName, OnlyLettersAndDigitsAroundTheDot)
{
    auto named = [](const QString& club, const QString& flyer) {
        return FlyerRecord::fromRecord(QStringLiteral("S3   01") + club + flyer + QStringLiteral("Name"));
    };
    EXPECT_TRUE(named(QStringLiteral("05"), QStringLiteral("123")).birdFileNameValid());
    EXPECT_TRUE(named(QStringLiteral("aB"), QStringLiteral("x9Z")).birdFileNameValid());
    EXPECT_FALSE(named(QStringLiteral("/."), QStringLiteral("./x")).birdFileNameValid());
    EXPECT_FALSE(named(QStringLiteral(" 5"), QStringLiteral("123")).birdFileNameValid());
    EXPECT_FALSE(named(QStringLiteral("05"), QStringLiteral("1*3")).birdFileNameValid());
    EXPECT_FALSE(named(QStringLiteral("0é"), QStringLiteral("123")).birdFileNameValid());
}

TEST(AdminFileName, ConcourseAndCombine)
{
    EXPECT_EQ(ConcourseOfFileName(QStringLiteral("S123405.DAT")), QStringLiteral("1234"));
    EXPECT_EQ(CombineOfFileName(QStringLiteral("S123405.DAT")), QStringLiteral("05"));
}

class DosFolder : public DosFolderTest {};

TEST_F(DosFolder, ListsAdminFilesIgnoringCaseInAlphabeticalOrder)
{
    for (const char* name : {"S999901.DAT", "s123405.dat", "S12345.DAT", "S1234567.DAT", "S123406.DATX",
                             "Z0105.123", "SABCDEF.Dat"})
        write(QString::fromLatin1(name), "x");
    QDir(files.path()).mkdir(QStringLiteral("S000000.DAT"));
    EXPECT_EQ(ListAdminFiles(files.path()),
              (QStringList{QStringLiteral("s123405.dat"), QStringLiteral("S999901.DAT"),
                           QStringLiteral("SABCDEF.Dat")}));
    EXPECT_TRUE(ListAdminFiles(QDir(files.path()).filePath(QStringLiteral("missing"))).isEmpty());
}

TEST_F(DosFolder, FindsBirdFilesIgnoringCaseButNeverOutsideTheFolder)
{
    const QString lower = write(QStringLiteral("z0105.123"), "x");
    EXPECT_EQ(FindFileIgnoringCase(files.path(), QStringLiteral("Z0105.123")), lower);
    EXPECT_TRUE(FindFileIgnoringCase(files.path(), QStringLiteral("Z0105.124")).isEmpty());
    EXPECT_TRUE(FindFileIgnoringCase(files.path(), QStringLiteral("../z0105.123")).isEmpty());
}

TEST_F(DosFolder, ReadErrorsGiveTheirMessages)
{
    const DosReadResult missing = ReadDosFile(QDir(files.path()).filePath(QStringLiteral("S123405.DAT")));
    EXPECT_EQ(missing.error, DosReadResult::Error::NotFound);
    EXPECT_EQ(missing.adminFileMessage(), QStringLiteral("Error retrieving data.  No import files found.\r\n"
                                                         "Please go to the Options menu and change\r\n"
                                                         "the Concourse and Combine descriptions."));
    DosReadResult other{DosReadResult::Error::Other, QStringLiteral("Permission denied"), {}};
    EXPECT_EQ(other.adminFileMessage(), QStringLiteral("Error retrieving import data. Permission denied"));
    DosReadResult device{DosReadResult::Error::DeviceNotReady, QStringLiteral("Device not ready"), {}};
    EXPECT_EQ(device.adminFileMessage(), QStringLiteral("Error retrieving import data.  Device not ready.\r\n"
                                                        "Please check floppy disk drive."));
    const QString present = write(QStringLiteral("S000000.DAT"), "\"S3\"");
    const DosReadResult read = ReadDosFile(present);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, QByteArray("\"S3\""));
}
