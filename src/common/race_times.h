#pragma once

#include <QString>
#include <QTime>
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

// A liberation time as typed and stored, "HH:MM:SS"; nothing when malformed.
std::optional<QTime> parseLiberationTime(const QString& text);
