#include "model/clock_scenario.h"
#include "model/race_flight.h"

#include <gtest/gtest.h>

// The stand-in clock's flight, where the seasons do not reach: dates that do not exist, a module without an
// inventory (its header asterisks).
TEST(RaceFlight, EveryLiberationPointIsARaceAndBadDatesAreNotFlown)
{
    ClockScenario s;
    s.rbm.serial = QStringLiteral("ZZ");
    s.liberations = {QStringLiteral("I0013102BADDATE 1"), QStringLiteral("I0020101NEWYEAR 2"),
                     QStringLiteral("I003")};
    const QStringList races = flyRaces(s, FlightPlan{2024});
    ASSERT_EQ(races.size(), 1);
    // Set on the evening of the year before; the year is the plan's.
    EXPECT_EQ(races[0],
              QString(19, QLatin1Char('*')) + "123123200000010124200000010124200003" + "02 01/01 NEWYEAR 02");
}
