#include "transfer/admin_records.h"

#include <gtest/gtest.h>

namespace {
const AdminHeaderSettings kSettings{QStringLiteral("Tulsa"), QStringLiteral("US"), QStringLiteral("07"),
                                    QStringLiteral("0001")};

Bird bird(const QString& org, const QString& year, const QString& letters, const QString& number,
          const QString& ring)
{
    Bird b;
    b.NatOrg = org;
    b.HatchYr = year;
    b.clubletters = letters;
    b.bnumber = number;
    b.sex = QStringLiteral("H");
    b.elecnumber = ring;
    b.color = QStringLiteral("BLUE");
    b.type = QStringLiteral("1");
    return b;
}
} // namespace

TEST(AdminRecords, HeaderRecordsHaveTheirFixedLayouts)
{
    const QString s1 = S1Record(kSettings);
    EXPECT_EQ(s1, QStringLiteral("S1") + QString(10, ' ') + QStringLiteral("Tulsa") + QString(15, ' ') +
                      QStringLiteral("US"));
    EXPECT_EQ(s1.size(), admin_record::kS1Length);

    const QString s2 = S2Record(kSettings, 7, QStringLiteral("Riverside"));
    EXPECT_EQ(s2, QStringLiteral("S2   0707   Riverside            0001"));
    EXPECT_EQ(s2.size(), admin_record::kS2Length);

    const QString s3 = S3Record(kSettings, 7, 42, QStringLiteral("John Smith"));
    EXPECT_EQ(s3, QStringLiteral("S3   0707042John Smith          00000000000000"));
    EXPECT_EQ(s3.size(), admin_record::kS3Length);
    EXPECT_EQ(s3FlyerName(s3), QStringLiteral("John Smith          "));
}

TEST(AdminRecords, LongNamesAreCutAndPaddingTrims)
{
    AdminHeaderSettings settings = kSettings;
    settings.combineName = QStringLiteral("  A combine name longer than twenty");
    EXPECT_EQ(S1Record(settings).mid(12, 20), QStringLiteral("A combine name longe"));
    EXPECT_EQ(S1Record(settings).size(), admin_record::kS1Length);
    EXPECT_EQ(S3Record(kSettings, 1, 1, QStringLiteral("Bartholomew Fitzgerald-Smythe")).size(),
              admin_record::kS3Length);
    // Non-ASCII counts as one character each.
    EXPECT_EQ(S3Record(kSettings, 1, 1, QStringLiteral("Jürgen Müller")).size(), admin_record::kS3Length);
}

TEST(AdminRecords, BirdRecordJoinsTheStoredFieldsAndIsCutBackByPosition)
{
    const Bird stored = bird(QStringLiteral("US"), QStringLiteral("08"), QStringLiteral(" ABC"),
                             QStringLiteral("012345"), QStringLiteral("A1B2C3D4E5"));
    const QString z = ZRecord(stored);
    EXPECT_EQ(z, QStringLiteral("ZUS08 ABC012345HA1B2C3D4E51"));
    EXPECT_EQ(z.size(), admin_record::kZLength);
    EXPECT_EQ(zRecordBand(z), QStringLiteral("US08 ABC012345"));

    const Bird back = birdFromZRecord(z);
    EXPECT_EQ(back.band(), stored.band());
    EXPECT_EQ(back.sex, QStringLiteral("H"));
    EXPECT_EQ(back.elecnumber, QStringLiteral("A1B2C3D4E5"));
    EXPECT_EQ(back.type, QStringLiteral("1"));
    EXPECT_EQ(back.color, QStringLiteral("NONE"));
}

TEST(AdminRecords, ShortRecordsFromOutsideReadAsWhatTheyHave)
{
    const Bird partial = birdFromZRecord(QStringLiteral("ZUS08 AB"));
    EXPECT_EQ(partial.NatOrg, QStringLiteral("US"));
    EXPECT_EQ(partial.clubletters, QStringLiteral(" AB"));
    EXPECT_TRUE(partial.bnumber.isEmpty());
    EXPECT_TRUE(partial.elecnumber.isEmpty());
    EXPECT_TRUE(birdFromZRecord(QString()).type.isEmpty());
    EXPECT_EQ(s3FlyerName(QStringLiteral("S3   0107042Jo")), QStringLiteral("Jo"));
    EXPECT_TRUE(s3FlyerName(QStringLiteral("S3")).isEmpty());
}

TEST(AdminRecords, ClearedModuleRecordsAreRecognised)
{
    EXPECT_TRUE(isClearedRecord(QStringLiteral("S1") + QString(32, '*')));
    EXPECT_TRUE(isClearedRecord(QStringLiteral("S3***")));
    EXPECT_FALSE(isClearedRecord(QStringLiteral("S3**")));
    EXPECT_FALSE(isClearedRecord(S3Record(kSettings, 1, 1, QStringLiteral("***"))));
}

TEST(LibRecord, CarriesDayBeforeMonthAndFixedWidths)
{
    const LiberationPoint point{0, QStringLiteral("7"), QStringLiteral("0412"),
                                QStringLiteral("Oklahoma City Ea"), QStringLiteral("1")};
    EXPECT_EQ(LibRecord(point), QStringLiteral("I0071204Oklahoma1"));
    EXPECT_EQ(LibRecord(point).size(), admin_record::kLibLength);

    const LiberationPoint shortName{0, QStringLiteral("123"), QStringLiteral("0704"), QStringLiteral("Enid"),
                                    QStringLiteral("2")};
    EXPECT_EQ(LibRecord(shortName), QStringLiteral("I0230407Enid    2"));
}
