#include "admin/admin_records.h"

#include <gtest/gtest.h>

namespace {
const AdminHeaderSettings kSettings{"Tulsa", "US", "07", "0001"};

Bird bird(const QString& org, const QString& year, const QString& letters, const QString& number,
          const QString& ring)
{
    Bird b;
    b.NatOrg = org;
    b.HatchYr = year;
    b.clubletters = letters;
    b.bnumber = number;
    b.sex = "H";
    b.elecnumber = ring;
    b.color = "BLUE";
    b.type = "1";
    return b;
}
} // namespace

TEST(AdminRecords, HeaderRecordsHaveTheirFixedLayouts)
{
    const QString s1 = buildS1Record(kSettings);
    EXPECT_EQ(s1,
              QStringLiteral("S1") + QString(10, ' ') + QStringLiteral("Tulsa") + QString(15, ' ') + "US");
    EXPECT_EQ(s1.size(), admin_record::kS1Length);

    const QString s2 = buildS2Record(kSettings, 7, "Riverside");
    EXPECT_EQ(s2, "S2   0707   Riverside            0001");
    EXPECT_EQ(s2.size(), admin_record::kS2Length);

    const QString s3 = buildS3Record(kSettings, 7, 42, "John Smith");
    EXPECT_EQ(s3, "S3   0707042John Smith          00000000000000");
    EXPECT_EQ(s3.size(), admin_record::kS3Length);
    EXPECT_EQ(s3FlyerName(s3), "John Smith          ");
}

TEST(AdminRecords, LongNamesAreCutAndPaddingTrims)
{
    AdminHeaderSettings settings = kSettings;
    settings.combineName = "  A combine name longer than twenty";
    EXPECT_EQ(buildS1Record(settings).mid(12, 20), "A combine name longe");
    EXPECT_EQ(buildS1Record(settings).size(), admin_record::kS1Length);
    EXPECT_EQ(buildS3Record(kSettings, 1, 1, "Bartholomew Fitzgerald-Smythe").size(),
              admin_record::kS3Length);
    // Non-ASCII counts as one character each.
    EXPECT_EQ(buildS3Record(kSettings, 1, 1, "Jürgen Müller").size(), admin_record::kS3Length);
}

TEST(AdminRecords, BirdRecordJoinsTheStoredFieldsAndIsCutBackByPosition)
{
    const Bird stored = bird("US", "08", " ABC", "012345", "A1B2C3D4E5");
    const QString z = buildZRecord(stored);
    EXPECT_EQ(z, "ZUS08 ABC012345HA1B2C3D4E51");
    EXPECT_EQ(z.size(), admin_record::kZLength);
    EXPECT_EQ(zRecordBand(z), "US08 ABC012345");

    const Bird back = birdFromZRecord(z);
    EXPECT_EQ(back.band(), stored.band());
    EXPECT_EQ(back.sex, "H");
    EXPECT_EQ(back.elecnumber, "A1B2C3D4E5");
    EXPECT_EQ(back.type, "1");
    EXPECT_EQ(back.color, "NONE");
}

TEST(AdminRecords, ShortRecordsFromOutsideReadAsWhatTheyHave)
{
    const Bird partial = birdFromZRecord("ZUS08 AB");
    EXPECT_EQ(partial.NatOrg, "US");
    EXPECT_EQ(partial.clubletters, " AB");
    EXPECT_TRUE(partial.bnumber.isEmpty());
    EXPECT_TRUE(partial.elecnumber.isEmpty());
    EXPECT_TRUE(birdFromZRecord(QString()).type.isEmpty());
    EXPECT_EQ(s3FlyerName("S3   0107042Jo"), "Jo");
    EXPECT_TRUE(s3FlyerName("S3").isEmpty());
}

TEST(AdminRecords, ClearedModuleRecordsAreRecognised)
{
    EXPECT_TRUE(isClearedRecord(QStringLiteral("S1") + QString(32, '*')));
    EXPECT_TRUE(isClearedRecord("S3***"));
    EXPECT_FALSE(isClearedRecord("S3**"));
    EXPECT_FALSE(isClearedRecord(buildS3Record(kSettings, 1, 1, "***")));
}

TEST(LibRecord, CarriesDayBeforeMonthAndFixedWidths)
{
    const LiberationPoint point{0, "7", "0412", "Oklahoma City Ea", "1"};
    EXPECT_EQ(LibRecord(point), "I0071204Oklahoma1");
    EXPECT_EQ(LibRecord(point).size(), admin_record::kLibLength);

    const LiberationPoint shortName{0, "123", "0704", "Enid", "2"};
    EXPECT_EQ(LibRecord(shortName), "I0230407Enid    2");
}
