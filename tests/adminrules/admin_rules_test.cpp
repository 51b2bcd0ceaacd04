#include "admin/bird_operations.h"
#include "admin/clean_text.h"
#include "admin/club_rules.h"
#include "admin/flyer_operations.h"
#include "admin/liberation_rules.h"
#include "support/database_builder.h"

#include <gtest/gtest.h>

namespace {

// "Today" fixed for one test.
struct FixedToday {
    explicit FixedToday(QDate date) { Today::set(QDateTime(date, QTime(12, 0))); }
    ~FixedToday() { Today::set(std::nullopt); }
};

TEST(ClubAndFlyerRules, EntriesAndChoices)
{
    EXPECT_EQ(club::listEntry(1234, "Big"), "234 - Big");
    EXPECT_EQ(club::nameFromEntry(" 12 - A - B"), "A - B");
    EXPECT_EQ(club::nameFromEntry("No clubs to Show"), "");
    EXPECT_EQ(flyer::clubIdOfChoice("12 3 Oaks"), 12);
    EXPECT_EQ(flyer::clubIdOfChoice("No Clubs Listed"), 0);
}

TEST(CleanText, QuotesBarsAndControlCharactersBecomeSpacesAndOnlyTheEndsAreTrimmed)
{
    // {typed or received, stored and looked up, the caller's variable afterwards}
    const std::tuple<QString, QString, QString> cases[] = {
        {" O'Neil |\"Loft\"  ", "O Neil   Loft", " O Neil   Loft   "},
        {"'''", "", "   "},
        {QString::fromUtf8("AB\0CD", 5), "AB CD", "AB CD"},
        {"\x1b[2JRace\x7f", "[2JRace", " [2JRace "},
        {"\tMüller\r\n", "Müller", " Müller  "},
    };
    for (const auto& [text, cleaned, variable] : cases) {
        QString name = text;
        EXPECT_EQ(CleanText(name), cleaned);
        EXPECT_EQ(name, variable);
        EXPECT_EQ(cleanedName(text), cleaned);
    }
}

// A name that cleans to nothing is refused on add and edit; the window's tests store cleaned names.
TEST(FlyerNames, BlankOnesRefused)
{
    TestDatabase db;
    flyer::FlyerFields blank;
    blank.clubId = db.addClub("Riverside");
    blank.name = "'\"| ";
    const int anna = db.addFlyer("Anna", blank.clubId);
    for (const AdminOutcome& outcome : {flyer::add(db.data(), blank), flyer::edit(db.data(), anna, blank)})
        EXPECT_EQ(outcome.box.title + ": " + outcome.box.text, "Error: Must enter a name!");
    EXPECT_EQ(db.data().flyerByName("Anna").value->Name, "Anna");
}

TEST(BirdRules, HatchYearsRunFrom80ToNextYear)
{
    // {today, the last year accepted}: the window's last year is next year's, also across a century.
    const std::pair<QDate, QString> windows[] = {
        {{2026, 3, 1}, "27"}, {{2011, 12, 31}, "12"}, {{2099, 1, 1}, "00"}};
    for (const auto& [today, last] : windows) {
        EXPECT_EQ(bird::yearMessage(today), "Valid numbers are 80--> <--" + last);
        for (int year = 0; year < 100; ++year) {
            const QString typed = QString::number(year).rightJustified(2, '0');
            EXPECT_EQ(bird::yearAcceptable(typed, today), year >= 80 || year <= last.toInt())
                << typed.toStdString() << " in " << today.year();
        }
    }
    EXPECT_TRUE(bird::yearAcceptable("5", {2026, 1, 1}));
    for (const char* year : {"100", "1a", "-1"})
        EXPECT_FALSE(bird::yearAcceptable(year, {2026, 1, 1})) << year;

    const FixedToday today({2026, 6, 1});
    // Only a typed year is checked. {typed, the year the stored bird had, refused}
    const std::tuple<QString, QString, bool> cases[] = {
        {"50", "50", false}, {"5", "05", false}, {"50", "24", true}, {"50", "", true}, {"27", "", false}};
    for (const auto& [typed, kept, refused] : cases)
        EXPECT_EQ(bird::yearProblem(typed, kept).has_value(), refused) << typed.toStdString();
    EXPECT_EQ(bird::yearProblem("28"), "Valid numbers are 80--> <--27");
}

TEST(BirdRules, FieldProblems)
{
    const QString digitsOnly = "The band number takes digits only.";
    const QString lettersOnly = "The colour takes letters only.";
    // {org, year, club, number, colour, the window's message}
    const std::tuple<QString, QString, QString, QString, QString, std::optional<QString>> cases[] = {
        {"US", "08", "AB", "1", "RED", std::nullopt},
        {"us", "08", "AB", "123456", "RED", std::nullopt},
        {"UC", "08", "AB", "1", "RED", bird::orgMessage()},
        {"USA", "08", "AB", "1", "RED", bird::orgMessage()},
        {"US", "50", "AB", "1", "RED", bird::yearMessage()},
        {"", "08", "AB", "1", "RED", bird::kMissingFields},
        {"US", "08", "AB", "1", " ", bird::kMissingFields},
        {"US", "08", "AB", "12a4", "RED", digitsOnly},
        {"US", "08", "AB", "1 2", "RED", digitsOnly},
        {"US", "08", "AB", "1", "BL-UE", lettersOnly},
        {"US", "08", "AB", "1", "GRÜN", lettersOnly},
    };
    for (const auto& [org, year, club, number, colour, problem] : cases)
        EXPECT_EQ(bird::fieldProblem({org, year, club, number, colour, true}), problem)
            << org.toStdString() << " " << number.toStdString() << " " << colour.toStdString();
}

TEST(BirdOperations, AStoredYearOutsideTheWindowDoesNotBlockAnEdit)
{
    const FixedToday today({2026, 6, 1});
    TestDatabase db;
    const int flyer = db.addFlyer("Anna", db.addClub("Riverside"));
    db.addBird(flyer, "US50 ABC000001");
    EXPECT_TRUE(bird::edit(db.data(), db.data().birdsOfFlyer(flyer).value.at(0),
                           {"US", "50", "ABC", "1", "RED", true})
                    .done());
    // Add keeps the year of the bird shown last.
    const auto owner = db.data().flyerByName("Anna").value;
    ASSERT_TRUE(owner);
    EXPECT_TRUE(bird::add(db.data(), *owner, {"US", "50", "ABC", "2", "NONE", true}, "50").done());
}

TEST(BirdRules, BandsAndListEntries)
{
    // The band identity: org (2) + year (2) + club letters (4, right-aligned) + number (6, zero-filled).
    const std::tuple<QString, QString, QString, QString, QString> bands[] = {
        {"us", "8", "abc", "12345", "US08 ABC012345"},
        {"US", "08", "ABCD", "123456", "US08ABCD123456"},
        {"US", "08", "ABCDEF", "12345678", "US08CDEF345678"},
        {"CA", "99", "A", "1", "CA99   A000001"},
    };
    for (const auto& [org, year, club, number, band] : bands)
        EXPECT_EQ(bird::bandIdentity(org, year, club, number), band);
    const Bird row = bird::rowFromFields(9, {"us", "8", "ab", "42", "blue", false}, "12345ABCDE", "0");
    const QString entry = bird::listEntry(row);
    EXPECT_EQ(entry, " US08  AB000042H 12345ABCDE BLUE");
    EXPECT_EQ(bird::bandFromEntry(entry), "US08  AB000042");
    EXPECT_EQ(bird::bandFromEntry(" US"), "US") << "a short entry never reads past its end";
    EXPECT_EQ(bird::nextBandNumber("000041"), "000042");
    EXPECT_EQ(bird::nextBandNumber(""), "000001");
    EXPECT_EQ(bird::nextBandNumber("999999"), "999999") << "never wraps round to 000000";
}

TEST(LiberationRules, PaddingEntriesDatesAndRoom)
{
    EXPECT_EQ(liberation::padRaceNumber("123"), "23");
    const QString entry = liberation::listEntry({"07", "0704", "Wichita", "1"});
    EXPECT_EQ(entry, "07  07/04  Wichita");
    EXPECT_EQ(liberation::numberFromEntry(entry), "07");
    EXPECT_EQ(liberation::nameFromEntry(entry), "Wichita");
    for (const char* number : {"01", "99"})
        EXPECT_TRUE(liberation::winSpeedCompatible(number)) << number;
    for (const char* number : {"00", "A1", ""})
        EXPECT_FALSE(liberation::winSpeedCompatible(number)) << number;
    for (const char* month : {"13", "0", "", "00"}) {
        EXPECT_FALSE(liberation::checkMonth(month).valid) << month;
        EXPECT_EQ(liberation::checkMonth(month).text, "01") << month;
    }
    EXPECT_EQ(liberation::checkMonth("7").text, "07");
    EXPECT_TRUE(liberation::checkMonth("12").valid);
    EXPECT_TRUE(liberation::checkDay("31").valid);
    EXPECT_FALSE(liberation::checkDay("32").valid);
    // A point is stored while the table holds 50 rows or fewer: at most 51.
    EXPECT_TRUE(liberation::roomForAnother(50));
    EXPECT_FALSE(liberation::roomForAnother(51));
}

} // namespace
