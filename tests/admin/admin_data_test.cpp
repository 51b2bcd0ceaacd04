#include "admin/admin_data.h"
#include "admin/admin_records.h"
#include "support/database_builder.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// One field of every row fetched, in the order fetched.
template <typename Row> QStringList column(const Fetched<std::vector<Row>>& rows, QString Row::*field)
{
    QStringList values;
    for (const Row& row : rows.value)
        values << row.*field;
    return values;
}

} // namespace

CORVEX_ON_EVERY_ENGINE(NameMatching);
CORVEX_ON_EVERY_ENGINE(Search);
CORVEX_ON_EVERY_ENGINE(Birds);
CORVEX_ON_EVERY_ENGINE(Flyers);
CORVEX_ON_EVERY_ENGINE(InsertNewData);

TEST_P(NameMatching, IgnoresLetterCaseAndTrailingSpaces)
{
    TestDatabase test(GetParam());
    test.addClub(QStringLiteral("Zandvoort"));
    const int flyer = test.addFlyer(QStringLiteral("Jan Müller"));
    AdminData& data = test.data();

    // A name read from the clock carries its 20 characters with trailing spaces.
    const auto found = data.flyerByName(QStringLiteral("JAN MÜLLER          "));
    ASSERT_TRUE(found.value.has_value());
    EXPECT_EQ(found.value->FlyerID, flyer);
    EXPECT_EQ(found.value->Name, QStringLiteral("Jan Müller"));

    EXPECT_TRUE(data.clubByName(QStringLiteral("zandvoort  ")).value.has_value());
    // Leading spaces and inner differences still count.
    EXPECT_FALSE(data.clubByName(QStringLiteral(" Zandvoort")).value.has_value());
    EXPECT_FALSE(data.flyerByName(QStringLiteral("Jan  Müller")).value.has_value());
    // A name stored twice gives the first stored.
    test.addClub(QStringLiteral("ZANDVOORT"));
    EXPECT_EQ(data.clubByName(QStringLiteral("zandvoort")).value->ClubID, 1);
}

// Typed text matches the beginning of names only, in any letter case; quotes and wildcards are taken
// literally.
TEST_P(Search, TypedTextMatchesTheBeginningOfNamesOnly)
{
    TestDatabase test(GetParam());
    const QStringList names{"Brown",      "Abrams",     "BRAUN", "Bram", "Østergaard", "O'Brien", "Obrien",
                            "100% Lofts", "1000 Lofts", "A_B",   "AxB",  "St*r",       "Star"};
    for (const QString& name : names) {
        test.addClub(name);
        test.addFlyer(name);
    }
    AdminData& data = test.data();
    // {typed, the names found}
    const std::pair<const char*, const char*> cases[] = {
        {"br", "Brown/BRAUN/Bram"}, {"Bra", "BRAUN/Bram"}, {"øST", "Østergaard"}, {"O'", "O'Brien"},
        {"100%", "100% Lofts"},     {"A_", "A_B"},         {"St*", "St*r"}};
    // Clubs and flyers are searched alike.
    const auto search = [&](const QString& typed) {
        const QString clubs = column(data.searchClubs(typed), &Club::ClubName).join('/');
        EXPECT_EQ(column(data.searchFlyers(typed), &Flyer::Name).join('/'), clubs) << typed.toStdString();
        return clubs;
    };
    for (const auto& [typed, found] : cases)
        EXPECT_EQ(search(QString::fromUtf8(typed)), found) << typed;
    EXPECT_EQ(search({}), names.join('/'));
    for (const char* typed : {"%", "\\", "x"})
        EXPECT_EQ(search(QString::fromLatin1(typed)), "") << typed;
    EXPECT_TRUE(data.clubByName(QStringLiteral("O'Brien")).value.has_value());

    const auto liberation = data.addLiberationPoint({0, "03", "0704", "Fort d'Hood", "1"});
    ASSERT_TRUE(liberation.ok());
    EXPECT_TRUE(data.liberationPoint(QStringLiteral("Fort d'Hood"), QStringLiteral("03")).value.has_value());
    EXPECT_FALSE(data.liberationPoint(QStringLiteral("Fort d'Hood"), QStringLiteral("04")).value.has_value());
}

TEST_P(Birds, ListIsOrderedByDigitsThreeToSixThenStoredOrder)
{
    TestDatabase test(GetParam());
    const int flyer = test.addFlyer(QStringLiteral("Smith"));
    test.addBird(flyer, QStringLiteral("US08 ABC009999"));
    test.addBird(flyer, QStringLiteral("US08 ABC110203"));
    test.addBird(flyer, QStringLiteral("US08 ABC990203"));
    test.addBird(flyer, QStringLiteral("US08 ABC000500"));
    EXPECT_EQ(column(test.data().birdsOfFlyerListed(flyer), &Bird::bnumber),
              QStringList({"110203", "990203", "000500", "009999"}));
    EXPECT_EQ(column(test.data().birdsOfFlyer(flyer), &Bird::bnumber),
              QStringList({"009999", "110203", "990203", "000500"}));
}

TEST_P(Birds, BandIdentityMatchesAcrossFlyersIgnoringCase)
{
    TestDatabase test(GetParam());
    const int smith = test.addFlyer(QStringLiteral("Smith"));
    const int jones = test.addFlyer(QStringLiteral("Jones"));
    test.addBird(smith, QStringLiteral("US08 abc012345"));
    test.addBird(jones, QStringLiteral("US08 ABC012345"));
    test.addBird(jones, QStringLiteral("US09 ABC012345"));
    AdminData& data = test.data();

    const auto birds = data.birdsByBand(QStringLiteral("us08 ABC012345"));
    ASSERT_EQ(birds.value.size(), 2u);
    EXPECT_EQ(birds.value[0].BirdFlyerID, smith);
    EXPECT_EQ(birds.value[1].BirdFlyerID, jones);
    EXPECT_TRUE(data.bandExists(QStringLiteral("US08 ABC012345")).value);
    EXPECT_FALSE(data.bandExists(QStringLiteral("US08  ABC12345")).value);
    EXPECT_FALSE(data.bandExists(QStringLiteral("US07 ABC012345")).value);

    const auto own = data.birdOfFlyer(jones, QStringLiteral("US08 ABC012345"));
    ASSERT_TRUE(own.value.has_value());
    EXPECT_EQ(own.value->BirdFlyerID, jones);
    EXPECT_FALSE(data.birdOfFlyer(jones + 1, QStringLiteral("US08 ABC012345")).value.has_value());

    EXPECT_EQ(data.birdFlyerId(QStringLiteral(" ABC"), QStringLiteral("012345")).value, smith);
    EXPECT_EQ(data.birdColour(QStringLiteral(" abc"), QStringLiteral("012345")).value,
              QStringLiteral("NONE"));
    EXPECT_FALSE(data.birdColour(QStringLiteral(" XYZ"), QStringLiteral("012345")).value.has_value());
}

// A race asks for its birds a hundred band numbers a statement; the shorter last batch counts too.
TEST_P(Birds, BandsWithNumbersAnswerEveryBatch)
{
    TestDatabase test(GetParam());
    ASSERT_TRUE(fillDatabase(test.database(), 5, 50).ok());
    QStringList numbers{QStringLiteral("999999")};
    for (int n = 1; n <= 250; ++n)
        numbers << QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
    EXPECT_EQ(test.data().bandsWithNumbers(numbers).value.size(), 250u);
}

TEST_P(Birds, EditStoresTheBirdAnewAndRingsAreFoundAcrossFlyers)
{
    TestDatabase test(GetParam());
    const int flyer = test.addFlyer(QStringLiteral("Smith"));
    const qint64 first = test.addBird(flyer, QStringLiteral("US08 ABC000001"), QStringLiteral("1234567890"));
    test.addBird(flyer, QStringLiteral("US08 ABC000002"));
    AdminData& data = test.data();

    Bird edited = makeBird(flyer, QStringLiteral("US08 ABC000001"), QStringLiteral("1234567890"));
    edited.color = QStringLiteral("BLUE");
    edited.type = QStringLiteral("1");
    const auto replaced = data.replaceBird(first, edited);
    ASSERT_TRUE(replaced.ok());
    EXPECT_NE(replaced.value, first);
    // Stored anew: the edited bird now comes last in stored order.
    EXPECT_EQ(column(data.birdsOfFlyer(flyer), &Bird::bnumber), QStringList({"000002", "000001"}));

    ASSERT_EQ(data.birdsByElecnumber(QStringLiteral("1234567890")).value.size(), 1u);
    ASSERT_TRUE(data.setElecnumber(replaced.value, QStringLiteral("5555555555")).ok());
    EXPECT_TRUE(data.birdsByElecnumber(QStringLiteral("1234567890")).value.empty());
    // A row that is gone is an error, not a silent success.
    EXPECT_EQ(data.replaceBird(first, edited).status.code, DbError::NoCurrentRecord);
    EXPECT_EQ(data.birdsOfFlyer(flyer).value.size(), 2u);
}

TEST_P(Flyers, EraseRemovesTheFlyerWithItsBirdsOrNothing)
{
    TestDatabase test(GetParam());
    const int smith = test.addFlyer(QStringLiteral("Smith"));
    const int jones = test.addFlyer(QStringLiteral("Jones"));
    for (int i = 1; i <= 3; ++i)
        test.addBird(smith, QStringLiteral("US08 ABC00000%1").arg(i));
    test.addBird(jones, QStringLiteral("US08 XYZ000001"));
    AdminData& data = test.data();

    // A flyer row that refuses to go must keep the birds too.
    const bool file = GetParam() == Engine::File;
    QSqlQuery refuse(test.database().connection());
    ASSERT_TRUE(
        refuse.exec(file ? "CREATE TRIGGER refuse BEFORE DELETE ON flyerlist BEGIN SELECT RAISE(ABORT, "
                           "'refused'); END"
                         : "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                           "EXCEPTION 'refused'; END $$; CREATE TRIGGER refuse BEFORE DELETE ON flyerlist "
                           "FOR EACH ROW EXECUTE FUNCTION refuse()"));
    EXPECT_FALSE(data.eraseFlyer(smith).ok());
    EXPECT_EQ(data.birdsOfFlyer(smith).value.size(), 3u);
    ASSERT_TRUE(refuse.exec(file ? "DROP TRIGGER refuse" : "DROP TRIGGER refuse ON flyerlist"));

    const auto erased = data.eraseFlyer(smith);
    ASSERT_TRUE(erased.ok());
    EXPECT_EQ(erased.value, 4);
    EXPECT_TRUE(data.birdsOfFlyer(smith).value.empty());
    EXPECT_FALSE(data.flyerNameById(smith).value.has_value());
    EXPECT_EQ(data.birdsOfFlyer(jones).value.size(), 1u);
    EXPECT_EQ(data.eraseFlyer(smith).status.code, DbError::NoCurrentRecord);
}

TEST_P(Flyers, WinSpeedLookUpNeedsBothNumbersToMatch)
{
    TestDatabase test(GetParam());
    for (int i = 0; i < 12; ++i)
        test.addFlyer(QStringLiteral("Flyer %1").arg(i + 1), i < 11 ? 7 : 71);
    // Club 7 flyer 12 and club 71 flyer 2 would read alike as joined digits ("712").
    AdminData& data = test.data();
    EXPECT_FALSE(data.flyerNameByClubAndId(7, 12).value.has_value());
    EXPECT_FALSE(data.flyerNameByClubAndId(71, 2).value.has_value());
    EXPECT_EQ(data.flyerNameByClubAndId(71, 12).value, QStringLiteral("Flyer 12"));
    EXPECT_EQ(data.flyerNameByClubAndId(7, 2).value, QStringLiteral("Flyer 2"));
}

TEST_P(InsertNewData, StoresEveryReceivedBirdForTheNamedFlyer)
{
    TestDatabase test(GetParam());
    test.addFlyer(QStringLiteral("Other"));
    const int flyer = test.addFlyer(QStringLiteral("JAN DE VRIES"));
    const QString s3 = QStringLiteral("S30107042001JAN DE VRIES        0123456789012345");
    // A short record reads as blanks; the existing band is stored again without a test.
    test.addBird(flyer, QStringLiteral("US08 ABC012345"));
    const QStringList z = {QStringLiteral("ZUS08 ABC012345C12345678901"),
                           QStringLiteral("ZNP11  XY000077H00000000000"), QStringLiteral("ZUS10")};
    const auto added = test.data().InsertNewData(s3, z);
    ASSERT_TRUE(added.ok()) << added.status.description.toStdString();
    EXPECT_EQ(added.value, 3);
    const auto birds = test.data().birdsOfFlyer(flyer);
    ASSERT_EQ(birds.value.size(), 4u);
    EXPECT_EQ(buildZRecord(birds.value[1]), z[0]);
    EXPECT_EQ(birds.value[1].color, QStringLiteral("NONE"));
    EXPECT_EQ(birds.value[2].clubletters, QStringLiteral("  XY"));
    EXPECT_EQ(birds.value[3].band(), QStringLiteral("US10"));
    EXPECT_EQ(birds.value[3].elecnumber, QString(""));
    // An unknown flyer stores nothing.
    const auto unknown = test.data().InsertNewData(QStringLiteral("S30107042001NOBODY              "), z);
    EXPECT_EQ(unknown.status.code, DbError::NoCurrentRecord);
    EXPECT_EQ(test.data().birdsOfFlyer(flyer).value.size(), 4u);
}

TEST(DataLayer, ClosedDatabaseReportsInsteadOfCrashing)
{
    Database closed;
    AdminData data(closed);
    EXPECT_FALSE(data.searchClubs({}).ok());
    EXPECT_FALSE(data.addClub(QStringLiteral("x")).ok());
    EXPECT_FALSE(data.eraseFlyer(1).ok());
}
