#include "admin/bird_rules.h"
#include "admin/club_rules.h"
#include "admin/flyer_rules.h"
#include "admin/liberation_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ClubRules, ListEntriesAndIds)
{
    EXPECT_EQ(club::listEntry(7, "Riverside"), "  7 - Riverside");
    EXPECT_EQ(club::listEntry(1234, "Big"), "234 - Big");
    EXPECT_EQ(club::nameFromEntry(" 12 - A - B"), "A - B");
    EXPECT_EQ(club::nameFromEntry("No clubs to Show"), "");
    EXPECT_EQ(club::idText(7), "07");
    EXPECT_EQ(club::idText(123), "123");
    EXPECT_EQ(club::countLine(0), "0 Clubs Listed");
}

TEST(FlyerRules, ClubChoicesAndTexts)
{
    EXPECT_EQ(flyer::clubChoice(7, "Riverside Lofts"), "7 Riverside Lofts");
    EXPECT_EQ(flyer::clubIdOfChoice("7 Riverside"), 7);
    EXPECT_EQ(flyer::clubIdOfChoice("12 3 Oaks"), 12);
    EXPECT_EQ(flyer::clubIdOfChoice("No Clubs Listed"), 0);
    EXPECT_EQ(flyer::clubIdOfChoice(""), 0);
    EXPECT_EQ(flyer::duplicateNameMessage("Jan Smit"), "Jan Smit already exists, please choose another.");
    EXPECT_EQ(flyer::receivedMessage("Jan", 2, 5),
              "Data successfully retrieved for Jan.\r\n\r\nBirds Updated = 2\r\nBirds Added = 5");
    EXPECT_EQ(flyer::coordinateDigits("-12.345,6"), "123456");
    EXPECT_FALSE(flyer::acceptsCoordinateCharacter('-'));
    EXPECT_FALSE(flyer::acceptsCoordinateCharacter('.'));
    EXPECT_TRUE(flyer::acceptsCoordinateCharacter('0'));
}

TEST(BirdRules, OrganisationCodes)
{
    EXPECT_EQ(bird::orgCodes(), (QStringList{"AU", "CA", "CU", "IF", "MX", "NP", "US"}));
    EXPECT_EQ(bird::orgMessage(), "Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org.");
    EXPECT_TRUE(bird::orgAcceptable("us"));
    EXPECT_TRUE(bird::orgAcceptable("")) << "empty passes here; Save reports the missing field";
    EXPECT_FALSE(bird::orgAcceptable("UC"));
    EXPECT_FALSE(bird::orgAcceptable("A"));
    EXPECT_FALSE(bird::orgAcceptable("USA"));
}

TEST(BirdRules, HatchYears)
{
    for (const char* year : {"00", "11", "80", "99", "5", "0"})
        EXPECT_TRUE(bird::yearAcceptable(year)) << year;
    for (const char* year : {"12", "50", "79", "100", "1a"})
        EXPECT_FALSE(bird::yearAcceptable(year)) << year;
}

TEST(BirdRules, PaddingAndBands)
{
    EXPECT_EQ(bird::padClubLetters("AB"), "  AB");
    EXPECT_EQ(bird::padClubLetters("ABCDEF"), "CDEF");
    EXPECT_EQ(bird::padBandNumber("42"), "000042");
    EXPECT_EQ(bird::padBandNumber("12345678"), "345678");
    EXPECT_EQ(bird::padYear("8"), "08");
    EXPECT_EQ(bird::bandIdentity("us", "8", "abc", "12345"), "US08 ABC012345");
    EXPECT_EQ(
        bird::duplicateBandMessage("US08 ABC012345"),
        "US08 ABC012345 already exists, please select another Nat Org, Hatch Year, Club, or Band number");
}

TEST(BirdRules, ListEntryPositions)
{
    Bird row;
    row.NatOrg = "US";
    row.HatchYr = "08";
    row.clubletters = " ABC";
    row.bnumber = "012345";
    row.sex = "H";
    row.elecnumber = "12345ABCDE";
    row.color = "BLUE";
    const QString entry = bird::listEntry(row);
    EXPECT_EQ(entry, " US08 ABC012345H 12345ABCDE BLUE");
    EXPECT_EQ(bird::bandFromEntry(entry), "US08 ABC012345");
    EXPECT_EQ(bird::bandFromEntry(" US"), "US") << "a short entry never reads past its end";
    EXPECT_EQ(bird::countLine(3), "3 Pigeon(s) listed");
}

TEST(BirdRules, NextBandNumberAndStoredRow)
{
    EXPECT_EQ(bird::nextBandNumber("000041"), "000042");
    EXPECT_EQ(bird::nextBandNumber(""), "000001");
    EXPECT_EQ(bird::nextBandNumber("999999"), "999999") << "never wraps round to 000000";

    const Bird row = bird::rowFromFields(9, {"us", "8", "ab", "42", "blue", false}, "0000000000", "0");
    EXPECT_EQ(row.BirdFlyerID, 9);
    EXPECT_EQ(row.band(), "US08  AB000042");
    EXPECT_EQ(row.sex, "H");
    EXPECT_EQ(row.color, "BLUE");
}

TEST(BirdRules, FieldProblems)
{
    EXPECT_EQ(bird::fieldProblem({"UC", "08", "AB", "1", "RED", true}), bird::orgMessage());
    EXPECT_EQ(bird::fieldProblem({"US", "50", "AB", "1", "RED", true}), bird::kYearMessage);
    EXPECT_EQ(bird::fieldProblem({"", "08", "AB", "1", "RED", true}), bird::kMissingFields);
    EXPECT_EQ(bird::fieldProblem({"US", "08", "AB", "1", "", true}), bird::kMissingFields);
    EXPECT_FALSE(bird::fieldProblem({"US", "08", "AB", "1", "RED", true}));
}

TEST(LiberationRules, PaddingAndEntries)
{
    EXPECT_EQ(liberation::padRaceNumber("7"), "07");
    EXPECT_EQ(liberation::padRaceNumber("123"), "23");
    const QString entry = liberation::listEntry({"07", "0704", "Wichita", "1"});
    EXPECT_EQ(entry, "07  07/04  Wichita");
    EXPECT_EQ(liberation::numberFromEntry(entry), "07");
    EXPECT_EQ(liberation::nameFromEntry(entry), "Wichita");
    EXPECT_EQ(liberation::listEntry({"00", "0501", "Home", "1"}), "00**05/01  Home");
    EXPECT_EQ(liberation::countLine(2), "2 Race(s) Listed");
}

TEST(LiberationRules, WinSpeedMarks)
{
    EXPECT_TRUE(liberation::winSpeedCompatible("01"));
    EXPECT_TRUE(liberation::winSpeedCompatible("99"));
    EXPECT_FALSE(liberation::winSpeedCompatible("00"));
    EXPECT_FALSE(liberation::winSpeedCompatible("A1"));
    EXPECT_FALSE(liberation::winSpeedCompatible(""));
}

TEST(LiberationRules, MonthAndDayChecks)
{
    for (const char* month : {"13", "0", "", "00"}) {
        const auto check = liberation::checkMonth(month);
        EXPECT_FALSE(check.valid) << month;
        EXPECT_EQ(check.text, "01") << month;
    }
    EXPECT_EQ(liberation::checkMonth("7").text, "07");
    EXPECT_TRUE(liberation::checkMonth("12").valid);
    EXPECT_TRUE(liberation::checkDay("31").valid);
    EXPECT_FALSE(liberation::checkDay("32").valid);
    EXPECT_EQ(liberation::checkDay("32").text, "01");
}

} // namespace
