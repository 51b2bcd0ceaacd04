#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

class ClockingRecord;
class RaceHeaderRecord;

// Clock times as seconds on one continuous count (days since the Julian epoch x 86400, plus the time of day),
// so that differences across midnight, month and year ends need no time zone: the clock knows none.
using RaceInstant = double;
RaceInstant raceInstant(const QDate& date, const QTime& time);
// The instant rounded to the second, as "YYYY-MM-DD HH:MM:SS".
QString instantText(RaceInstant instant);
QDate instantDate(RaceInstant instant);

// A header's mmddyyhhmmss; nothing for month "00" (no knock-off) or digits that are no date and time.
std::optional<RaceInstant> headerInstant(const QString& mmddyyhhmmss);
// Clockings and race dates carry no year: the date with this month and day nearest to reference.
QDate nearestDate(int month, int day, const QDate& reference);
// A clocking's arrival by its clock (16-25), in the year nearest reference; nothing when unreadable.
std::optional<RaceInstant> clockingInstant(const ClockingRecord& clocking, const QDate& reference);

// The clock was set at clock start S and checked at knock-off, when it showed K while the reference showed
// the verified time. Its error V = K - verified is spread over the time it ran: an arrival at clock time T
// is moved by V x (T - S) / (K - S).
struct ClockCorrection {
    bool applied = false; // false: no usable knock-off; the clock's times stand and its birds are marked
    RaceInstant start = 0;
    RaceInstant knockOff = 0;
    double error = 0;
    RaceInstant corrected(RaceInstant clockTime) const;
};
ClockCorrection clockCorrection(const RaceHeaderRecord& header);
