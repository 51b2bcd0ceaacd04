#include "admin/admin_records.h"
#include "database/schema.h"
#include "dos_fixture.h"
#include "dosimport/dos_files.h"

TEST(DosFields, SeparatorsQuotesCtrlZAndCodePage437)
{
    // {bytes of a DOS file, its fields}
    const std::pair<QByteArray, QStringList> cases[] = {
        // A quoted field keeps its commas; line ends and commas separate; blanks before a field are dropped.
        {"\"Smith, John\",plain\r\n  lead,\"\"\nlast\rafter\r\n",
         {"Smith, John", "plain", "lead", "", "last", "after"}},
        // An unclosed quote ends at the line; Ctrl-Z ends the file.
        {"\"open, field\r\nnext\x1Agarbage,more", {"open, field", "next"}},
        {"", {}},
        // Text after a closing quote is dropped up to the separator.
        {"\"a\"junk,b", {"a", "b"}},
        // Code page 437: 0x81 is ü, 0x8E Ä, 0x99 Ö, 0xE1 ß.
        {"\"M\x81ller \x8E\x99\xE1\"\r\n", {"Müller ÄÖß"}},
        // Control characters become spaces.
        {QByteArray("a\0b\x1b,\"c\x7f\"", 9), {"a b ", "c "}},
    };
    for (const auto& [bytes, fields] : cases)
        EXPECT_EQ(readDosFields(bytes), fields) << bytes.toStdString();
}

TEST(AdminFileRecords, OnlyS3FieldsCountAndAreCutByPosition)
{
    const QByteArray bytes =
        dosText({"\"S1          COMBINE             US\",\"S2   0105   CLUB\"",
                 quoted(s3Record("05", "123", "Smith, John", "1234567", "7654321")),
                 quoted(s3Record("05", "124", "Twenty Characters Ok", "1111111", "2222222")),
                 "s3 lower case is not a flyer", "S3   01"});
    const std::vector<FlyerRecord> records = parseAdminFile(bytes);
    ASSERT_EQ(records.size(), 3u);
    // {combine 6-7, club 8-9, flyer 10-12, name 13-32, longitude 33-39, latitude 40-46, bird file}
    const QStringList expected[] = {
        {"01", "05", "123", "Smith, John         ", "1234567", "7654321", "Z0105.123"},
        {"01", "05", "124", "Twenty Characters Ok", "1111111", "2222222", "Z0105.124"},
        // A record cut short reads as blanks, never past its end.
        {"01", "", "", "", "", "", "Z01."},
    };
    for (size_t i = 0; i < records.size(); ++i) {
        const FlyerRecord& r = records[i];
        EXPECT_EQ(
            (QStringList{r.combine, r.club, r.flyer, r.name, r.longitude, r.latitude, r.birdFileName()}),
            expected[i]);
    }
    // Names are cleaned as the program stores them and keep their width.
    EXPECT_EQ(FlyerRecord::fromRecord(s3Record("05", "123", "'t Hooft|Jr")).name, "t Hooft Jr          ");
    // The bird file name is made of letters and digits only, or it is not used.
    const std::pair<QString, bool> names[] = {{"05123", true},  {"aBx9Z", true},  {"/../x", false},
                                              {" 5123", false}, {"051*3", false}, {"0é123", false}};
    for (const auto& [clubAndFlyer, valid] : names)
        EXPECT_EQ(FlyerRecord::fromRecord("S3   01" + clubAndFlyer + "Name").birdFileNameValid(), valid)
            << clubAndFlyer.toStdString();
    EXPECT_FALSE(records[2].birdFileNameValid());
}

TEST(AdminFileRecords, AtMost999FlyersAnd500Birds)
{
    QStringList flyers, birds;
    for (int i = 0; i < 1005; ++i) {
        flyers << quoted(s3Record("01", QStringLiteral("%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
                                  QStringLiteral("F%1").arg(i)));
        birds << quoted(birdRecord(QStringLiteral("US08 ABC%1").arg(i, 6, 10, QLatin1Char('0'))));
    }
    for (const int count : {999, 1005}) {
        const auto records = parseAdminFile(dosText(flyers.mid(0, count)));
        ASSERT_EQ(records.size(), 999u);
        EXPECT_EQ(records.back().name.trimmed(), "F998");
    }
    for (const int count : {500, 501}) {
        const QStringList parsed = parseBirdFile(dosText(birds.mid(0, count)));
        ASSERT_EQ(parsed.size(), 500);
        EXPECT_EQ(parsed.back(), birdRecord("US08 ABC000499"));
    }
}

TEST(BirdFileRecords, BlankFieldsAreNoBirdsAndARecordIsTheClocksWithoutItsZ)
{
    const QString record = birdRecord("us08 abc012345", "H", "12345ABCDE", "1");
    const QStringList records = parseBirdFile(dosText({quoted(record), QString(), "\"   \"", "CA09"}));
    EXPECT_EQ(records, (QStringList{record, "CA09"}));
    const Bird bird = birdFromRecord(record, 42);
    EXPECT_EQ((QStringList{bird.NatOrg, bird.HatchYr, bird.clubletters, bird.bnumber, bird.sex,
                           bird.elecnumber, bird.type, bird.color}),
              (QStringList{"us", "08", " abc", "012345", "H", "12345ABCDE", "1", "NONE"}));
    EXPECT_EQ(bird.BirdFlyerID, 42);
    EXPECT_EQ(buildZRecord(bird), "Z" + record);
}

class DosFolder : public DosFolderTest {};

TEST_F(DosFolder, ListsAdminFilesAndFindsBirdFilesIgnoringCaseButNeverOutsideTheFolder)
{
    for (const char* name : {"S999901.DAT", "s123405.dat", "S12345.DAT", "S1234567.DAT", "S123406.DATX",
                             "Z0105.123", "SABCDEF.Dat"})
        write(QString::fromLatin1(name), "x");
    QDir(files.path()).mkdir("S000000.DAT");
    EXPECT_EQ(listAdminFiles(files.path()), (QStringList{"s123405.dat", "S999901.DAT", "SABCDEF.Dat"}));
    EXPECT_TRUE(listAdminFiles(QDir(files.path()).filePath("missing")).isEmpty());

    const QString lower = write("z0105.124", "x");
    EXPECT_EQ(findFileIgnoringCase(files.path(), "Z0105.124"), lower);
    EXPECT_TRUE(findFileIgnoringCase(files.path(), "Z0105.125").isEmpty());
    EXPECT_TRUE(findFileIgnoringCase(files.path(), "../z0105.124").isEmpty());
}

TEST_F(DosFolder, ReadErrorsGiveTheirMessages)
{
    using Error = DosReadResult::Error;
    EXPECT_EQ(readDosFile(QDir(files.path()).filePath("S123405.DAT")).error, Error::NotFound);
    EXPECT_EQ((DosReadResult{Error::Other, "Permission denied", {}}.adminFileMessage()),
              "Error retrieving import data. Permission denied");
    EXPECT_EQ((DosReadResult{Error::DeviceNotReady, "Device not ready", {}}.adminFileMessage()),
              "Error retrieving import data.  Device not ready.\r\nPlease check floppy disk drive.");
    const DosReadResult read = readDosFile(write("S000000.DAT", "\"S3\""));
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, QByteArray("\"S3\""));
}
