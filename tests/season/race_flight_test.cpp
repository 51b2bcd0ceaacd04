#include "model/clock_scenario.h"
#include "model/race_flight.h"

#include <gtest/gtest.h>

namespace {
ClockScenario flyerWithBirds()
{
    ClockScenario s;
    s.rbm.serial = QStringLiteral("00003039"); // 12345
    s.s1 = QStringLiteral("S1          NORTHERN COMBINE    US");
    s.s2 = QStringLiteral("S2   0307   ROCKFORD RACING      0012");
    s.s3 = QStringLiteral("S3   0307045JOHN MILLER         00000000000000");
    s.birds = {QStringLiteral("ZUS24ROCK001201C00A1B2C3D40"), QStringLiteral("ZUS24ROCK001202H00000000000"),
               QStringLiteral("ZUS23ROCK000877H00A1B2C3D70")};
    s.liberations = {QStringLiteral("I0011406DIXON   1")};
    return s;
}

// The stand-in clock's flight, where the seasons do not reach: dates that do not exist, a module without an
// inventory.
TEST(RaceFlight, EveryLiberationPointIsARaceAndBadDatesAreNotFlown)
{
    ClockScenario s = flyerWithBirds();
    s.liberations = {QStringLiteral("I0013102BADDATE 1"), QStringLiteral("I0020101NEWYEAR 2"),
                     QStringLiteral("I003")};
    const QStringList races = flyRaces(s, FlightPlan{2024});
    ASSERT_EQ(races.size(), 3);
    // Set on the evening of the year before; the year is the plan's.
    EXPECT_EQ(races[0].mid(19, 36), "123123200000010124200000010124200003");
    EXPECT_EQ(races[0].mid(55), "02 01/01 NEWYEAR 02");
}

TEST(RaceFlight, ModuleWithoutInventoryGivesAsterisksAndNoClockings)
{
    ClockScenario s;
    s.rbm.serial = QStringLiteral("ZZ");
    s.liberations = {QStringLiteral("I0011406DIXON   1")};
    const QStringList races = flyRaces(s);
    ASSERT_EQ(races.size(), 1);
    EXPECT_EQ(races[0].left(19), QString(19, QLatin1Char('*')));
    EXPECT_EQ(races[0].size(), 74);
}

} // namespace
