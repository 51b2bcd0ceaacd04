#include "results/clock_correction.h"

#include "common/today.h"
#include "racedata/race_records.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kSecondsPerDay = 86400;

// Two decimal digits at 1-based position start, or -1.
int twoDigits(const QString& text, int start)
{
    if (start < 1 || start + 1 > text.size())
        return -1;
    const char16_t tens = text[start - 1].unicode(), ones = text[start].unicode();
    if (tens < u'0' || tens > u'9' || ones < u'0' || ones > u'9')
        return -1;
    return (tens - u'0') * 10 + (ones - u'0');
}
} // namespace

RaceInstant raceInstant(const QDate& date, const QTime& time)
{
    return double(date.toJulianDay()) * kSecondsPerDay + time.msecsSinceStartOfDay() / 1000.0;
}

QDate instantDate(RaceInstant instant)
{
    return QDate::fromJulianDay(qint64(std::floor(instant / kSecondsPerDay)));
}

QString instantText(RaceInstant instant)
{
    const double seconds = std::round(instant);
    const QDate date = instantDate(seconds);
    const int ofDay = int(seconds - double(date.toJulianDay()) * kSecondsPerDay);
    // Formatted by hand: a published result holds tens of thousands of these.
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                  ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
    return QString::fromLatin1(text);
}

std::optional<RaceInstant> headerInstant(const QString& mmddyyhhmmss)
{
    const int month = twoDigits(mmddyyhhmmss, 1), day = twoDigits(mmddyyhhmmss, 3);
    const int year = twoDigits(mmddyyhhmmss, 5);
    const QTime time(twoDigits(mmddyyhhmmss, 7), twoDigits(mmddyyhhmmss, 9), twoDigits(mmddyyhhmmss, 11));
    if (month < 1 || day < 1 || year < 0 || !time.isValid())
        return std::nullopt;
    const QDate date(expandTwoDigitYear(year), month, day);
    if (!date.isValid())
        return std::nullopt;
    return raceInstant(date, time);
}

QDate nearestDate(int month, int day, const QDate& reference)
{
    QDate best;
    for (int year = reference.year() - 1; year <= reference.year() + 1; ++year) {
        const QDate candidate(year, month, day);
        if (candidate.isValid() &&
            (!best.isValid() || std::abs(reference.daysTo(candidate)) < std::abs(reference.daysTo(best))))
            best = candidate;
    }
    return best;
}

std::optional<RaceInstant> clockingInstant(const ClockingRecord& clocking, const QDate& reference)
{
    const QString& text = clocking.text();
    const QTime time(twoDigits(text, 16), twoDigits(text, 18), twoDigits(text, 20));
    const int month = twoDigits(text, 22), day = twoDigits(text, 24);
    const QDate date = month < 1 || day < 1 ? QDate() : nearestDate(month, day, reference);
    if (!time.isValid() || !date.isValid())
        return std::nullopt;
    return raceInstant(date, time);
}

RaceInstant ClockCorrection::corrected(RaceInstant clockTime) const
{
    return applied ? clockTime - error * (clockTime - start) / (knockOff - start) : clockTime;
}

ClockCorrection clockCorrection(const RaceHeaderRecord& header)
{
    const auto start = headerInstant(header.clockStart());
    const auto verified = headerInstant(header.clockStop());
    const auto knockOff = headerInstant(header.knockOff());
    // A knock-off not after the start cannot spread an error over the run.
    if (!start || !verified || !knockOff || *knockOff <= *start)
        return {};
    return {true, *start, *knockOff, *knockOff - *verified};
}
