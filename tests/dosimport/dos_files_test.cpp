#include "admin/admin_records.h"
#include "database/schema.h"
#include "dos_fixture.h"
#include "dosimport/dos_files.h"

TEST(DosFields, SeparatorsQuotesCtrlZAndCodePage437)
{
    EXPECT_EQ(readDosFields("\"Smith, John\",plain\r\n  lead,\"\"\nlast\rafter\r\n"),
              (QStringList{"Smith, John", "plain", "lead", QString(), "last", "after"}));
    // An unclosed quote ends at the line, Ctrl-Z ends the file.
    EXPECT_EQ(readDosFields("\"open, field\r\nnext\x1Agarbage,more"), (QStringList{"open, field", "next"}));
    EXPECT_TRUE(readDosFields(QByteArray()).isEmpty());
    // Text after a closing quote is dropped up to the separator.
    EXPECT_EQ(readDosFields("\"a\"junk,b"), (QStringList{"a", "b"}));
    EXPECT_EQ(readDosFields(QByteArray("\"S3   0105123M\x81ller") + "\"\r\n").value(0), "S3   0105123Müller");
    // Control characters become spaces.
    EXPECT_EQ(readDosFields(QByteArray("a\0b\x1b,\"c\x7f\"", 9)), (QStringList{"a b ", "c "}));
}

TEST(AdminFileRecords, OnlyS3FieldsCountAndAreCutByPosition)
{
    const QByteArray bytes = dosText({"\"S1          COMBINE             US\",\"S2   0105   CLUB\"",
                                      quoted(s3Record("05", "123", "Smith, John", "1234567", "7654321")),
                                      "s3 lower case is not a flyer", "S3   01"});
    const std::vector<FlyerRecord> records = parseAdminFile(bytes);
    ASSERT_EQ(records.size(), 2u);
    const FlyerRecord& smith = records[0];
    EXPECT_EQ(
        (QStringList{smith.combine, smith.club, smith.flyer, smith.name, smith.longitude, smith.latitude}),
        (QStringList{"01", "05", "123", "Smith, John         ", "1234567", "7654321"}));
    EXPECT_EQ(smith.birdFileName(), "Z0105.123");
    // Names are cleaned as the program stores them and keep their width.
    EXPECT_EQ(FlyerRecord::fromRecord(s3Record("05", "123", "'t Hooft|Jr")).name, "t Hooft Jr          ");
    // A record cut short reads as blanks, never past its end.
    EXPECT_TRUE(records[1].name.isEmpty());
    EXPECT_FALSE(records[1].birdFileNameValid());
}

TEST(AdminFileRecords, AtMost999FlyersAnd500Birds)
{
    QStringList flyers, birds;
    for (int i = 0; i < 1005; ++i) {
        flyers << quoted(s3Record("01", QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
                                  QStringLiteral("F%1").arg(i)));
        birds << quoted(birdRecord(QStringLiteral("US08 ABC%1").arg(i, 6, 10, QLatin1Char('0'))));
    }
    const auto records = parseAdminFile(dosText(flyers));
    ASSERT_EQ(records.size(), 999u);
    EXPECT_EQ(records.back().name.trimmed(), "F998");
    const QStringList parsed = parseBirdFile(dosText(birds));
    ASSERT_EQ(parsed.size(), 500);
    EXPECT_EQ(parsed.back(), birdRecord("US08 ABC000499"));
}

TEST(BirdFileRecords, BlankFieldsAreNoBirdsAndARecordIsTheClocksWithoutItsZ)
{
    const QString record = birdRecord("us08 abc012345", "H", "12345ABCDE", "1");
    const QStringList records = parseBirdFile(dosText({quoted(record), QString(), "\"   \"", "CA09"}));
    EXPECT_EQ(records, (QStringList{record, "CA09"}));
    const Bird bird = birdFromRecord(record, 42);
    EXPECT_EQ(bird.BirdFlyerID, 42);
    EXPECT_EQ(buildZRecord(bird), "Z" + record);
    EXPECT_EQ(bird.color, "NONE");
}

TEST(BirdFileName, OnlyLettersAndDigitsAroundTheDot)
{
    auto named = [](const QString& club, const QString& flyer) {
        return FlyerRecord::fromRecord(QStringLiteral("S3   01") + club + flyer + QStringLiteral("Name"));
    };
    EXPECT_TRUE(named("05", "123").birdFileNameValid());
    EXPECT_TRUE(named("aB", "x9Z").birdFileNameValid());
    EXPECT_FALSE(named("/.", "./x").birdFileNameValid());
    EXPECT_FALSE(named(" 5", "123").birdFileNameValid());
    EXPECT_FALSE(named("05", "1*3").birdFileNameValid());
    EXPECT_FALSE(named("0é", "123").birdFileNameValid());
}

class DosFolder : public DosFolderTest {};

TEST_F(DosFolder, ListsAdminFilesIgnoringCaseInAlphabeticalOrder)
{
    for (const char* name : {"S999901.DAT", "s123405.dat", "S12345.DAT", "S1234567.DAT", "S123406.DATX",
                             "Z0105.123", "SABCDEF.Dat"})
        write(QString::fromLatin1(name), "x");
    QDir(files.path()).mkdir("S000000.DAT");
    EXPECT_EQ(listAdminFiles(files.path()), (QStringList{"s123405.dat", "S999901.DAT", "SABCDEF.Dat"}));
    EXPECT_TRUE(listAdminFiles(QDir(files.path()).filePath("missing")).isEmpty());
}

TEST_F(DosFolder, FindsBirdFilesIgnoringCaseButNeverOutsideTheFolder)
{
    const QString lower = write("z0105.123", "x");
    EXPECT_EQ(findFileIgnoringCase(files.path(), "Z0105.123"), lower);
    EXPECT_TRUE(findFileIgnoringCase(files.path(), "Z0105.124").isEmpty());
    EXPECT_TRUE(findFileIgnoringCase(files.path(), "../z0105.123").isEmpty());
}

TEST_F(DosFolder, ReadErrorsGiveTheirMessages)
{
    EXPECT_EQ(readDosFile(QDir(files.path()).filePath("S123405.DAT")).error, DosReadResult::Error::NotFound);
    using Error = DosReadResult::Error;
    EXPECT_EQ((DosReadResult{Error::Other, "Permission denied", {}}.adminFileMessage()),
              "Error retrieving import data. Permission denied");
    EXPECT_EQ((DosReadResult{Error::DeviceNotReady, "Device not ready", {}}.adminFileMessage()),
              "Error retrieving import data.  Device not ready.\r\nPlease check floppy disk drive.");
    const DosReadResult read = readDosFile(write("S000000.DAT", "\"S3\""));
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, QByteArray("\"S3\""));
}
