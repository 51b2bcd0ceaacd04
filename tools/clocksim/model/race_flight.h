#pragma once

#include "model/clock_scenario.h"

#include <QStringList>

// How the stand-in clock flies the races of its liberation table. Liberation records carry day and month
// only, so the season's year is fixed here; every time is fixed, so outputs can be compared byte for byte.
struct FlightPlan {
    int year = 2025;
};

// The race series the module holds after flying every liberation point of the scenario in table order:
// per point a 74-character race header built from the flyer's S2/S3 records and the module's serial,
// then one clocking per bird with an electronic ring, in inventory order, arrival times increasing.
// Liberation records whose day and month make no date are not flown.
QStringList flyRaces(const ClockScenario& scenario, const FlightPlan& plan = {});
