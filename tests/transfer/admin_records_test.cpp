#include "admin/admin_records.h"

#include <gtest/gtest.h>

namespace {
const AdminHeaderSettings kTulsa{"Tulsa", "US", "07", "0001"};

Bird storedBird()
{
    Bird b;
    b.NatOrg = "US";
    b.HatchYr = "08";
    b.clubletters = " ABC";
    b.bnumber = "012345";
    b.sex = "H";
    b.elecnumber = "A1B2C3D4E5";
    b.color = "BLUE";
    b.type = "1";
    return b;
}
} // namespace

TEST(AdminRecords, LayoutsByPosition)
{
    const struct {
        QString record, expected;
    } cases[] = {
        // A combine name of five letters: "S1", 10 spaces, the letters, 15 spaces, the organisation.
        {buildS1Record(kTulsa), "S1" + QString(10, ' ') + "Tulsa" + QString(15, ' ') + "US"},
        {buildS2Record(kTulsa, 7, "Riverside"), "S2   0707   Riverside            0001"},
        // Club 7 and flyer 42 as "07" and "042".
        {buildS3Record(kTulsa, 7, 42, "John Smith"), "S3   0707042John Smith          00000000000000"},
        // Names are trimmed, then cut to 20 keeping the first characters; one character a letter.
        {buildS1Record({"  A combine name longer than twenty", "US", "07", "0001"}),
         "S1          A combine name longeUS"},
        {buildS3Record(kTulsa, 1, 1, "J\u00FCrgen M\u00FCller-L\u00FCdenscheidt"),
         "S3   0701001J\u00FCrgen M\u00FCller-L\u00FCdens00000000000000"},
        {buildZRecord(storedBird()), "ZUS08 ABC012345HA1B2C3D4E51"},
        // Race 7 on month 04, day 12, a 15-character name, type 1: the day first, the name cut to 8.
        {LibRecord({0, "7", "0412", "Oklahoma City E", "1"}), "I0071204Oklahoma1"},
        // A longer number keeps its last two digits; a shorter name is filled with spaces.
        {LibRecord({0, "123", "0704", "Enid", "2"}), "I0230407Enid    2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.record, c.expected);
}

TEST(AdminRecords, RecordsFromTheModuleAreCutByPosition)
{
    const Bird back = birdFromZRecord("ZUS08 ABC012345HA1B2C3D4E51");
    EXPECT_EQ(QStringList({back.NatOrg, back.HatchYr, back.clubletters, back.bnumber, back.sex,
                           back.elecnumber, back.type, back.color}),
              QStringList({"US", "08", " ABC", "012345", "H", "A1B2C3D4E5", "1", "NONE"}));
    EXPECT_EQ(zRecordBand("ZUS08 ABC012345HA1B2C3D4E51"), "US08 ABC012345");
    // The flyer name is characters 13 to 32; short records read as what they have (Mid's own test).
    EXPECT_EQ(s3FlyerName("S3   0707042John Smith          00000000000000"), "John Smith          ");
    // Characters 3 to 5 "***": a module without inventory.
    EXPECT_TRUE(isClearedRecord("S1" + QString(32, '*')));
    EXPECT_TRUE(isClearedRecord("S3***"));
    EXPECT_FALSE(isClearedRecord("S3**"));
    EXPECT_FALSE(isClearedRecord("S***x"));
}
