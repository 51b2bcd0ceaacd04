#pragma once

#include "common/race_times.h"
#include "results/clock_correction.h"

// How much of the time from liberation to arrival falls inside the window, on every night between them.
double nightSeconds(RaceInstant liberation, RaceInstant arrival, const NightWindow& window);
