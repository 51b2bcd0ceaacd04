#pragma once

#include "results/clock_correction.h"

#include <QString>
#include <optional>

// The dead time of a multi-day race: from start to end each night the clock runs on but the flight does not.
// A window that ends before it starts crosses midnight (21:00-05:00).
struct NightWindow {
    int start = 0; // minutes of the day
    int end = 0;
};

// "HH:MM-HH:MM"; nothing when malformed or when both ends are equal (no window, or a whole day).
std::optional<NightWindow> parseNightWindow(const QString& text);
QString nightWindowText(const NightWindow& window);

// How much of the time from liberation to arrival falls inside the window, on every night between them.
double nightSeconds(RaceInstant liberation, RaceInstant arrival, const NightWindow& window);
