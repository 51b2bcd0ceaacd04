#include "results/night_window.h"

#include <algorithm>
#include <cmath>

double nightSeconds(RaceInstant liberation, RaceInstant arrival, const NightWindow& window)
{
    constexpr double day = 86400;
    if (arrival <= liberation)
        return 0;
    const double start = window.start * 60.0;
    const double end = window.end * 60.0 + (window.end < window.start ? day : 0);
    double dead = 0;
    // The night that began the day before liberation may still be running at liberation.
    for (double midnight = std::floor(liberation / day) * day - day; midnight < arrival; midnight += day)
        dead += std::max(0.0, std::min(arrival, midnight + end) - std::max(liberation, midnight + start));
    return dead;
}
