#include "admin/liberation_rules.h"

#include "common/pad_field.h"
#include "common/position.h"
#include "common/race_times.h"

namespace liberation {

namespace {
// The value of an all-digit text; nothing for an empty or non-numeric one.
std::optional<int> digitsValue(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (!acceptsDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

DatePartCheck checkRange(const QString& text, int highest)
{
    const QString padded = padDatePart(text);
    const auto value = digitsValue(padded);
    if (!value || *value < 1 || *value > highest)
        return {QStringLiteral("01"), false};
    return {padded, true};
}
} // namespace

QString padRaceNumber(const QString& text)
{
    return PadField(text, 2, QLatin1Char('0'), false);
}

QString padDatePart(const QString& text)
{
    return PadField(text, 2, QLatin1Char('0'), false);
}

bool winSpeedCompatible(const QString& raceNumber)
{
    const auto value = digitsValue(raceNumber.trimmed());
    return value && *value > 0 && *value <= 99;
}

QString listEntry(const RacePoint& point)
{
    const QChar marker = winSpeedCompatible(point.number) ? QLatin1Char(' ') : QLatin1Char('*');
    return PadField(point.number, 4, marker, true) + Mid(point.date, 1, 2) + QLatin1Char('/') +
           Mid(point.date, 3, 2) + QStringLiteral("  ") + point.name;
}

QString numberFromEntry(const QString& entry)
{
    return Mid(entry, 1, 2);
}

QString nameFromEntry(const QString& entry)
{
    return Mid(entry, 12);
}

QString countLine(int count)
{
    return QString::number(count) + QStringLiteral(" Race(s) Listed");
}

DatePartCheck checkMonth(const QString& text)
{
    return checkRange(text, 12);
}

DatePartCheck checkDay(const QString& text)
{
    return checkRange(text, 31);
}

bool acceptsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool roomForAnother(int rowCount)
{
    return rowCount < kMaxPoints;
}

std::optional<QString> fieldProblem(const QString& number, const QString& month, const QString& day,
                                    const QString& name, const QString& type, const QString& missingMessage)
{
    if (number.trimmed().isEmpty() || month.trimmed().isEmpty() || day.trimmed().isEmpty() ||
        name.trimmed().isEmpty() || type.trimmed().isEmpty())
        return missingMessage;
    if (!digitsValue(number.trimmed()) || !digitsValue(type.trimmed()))
        return missingMessage;
    if (!checkMonth(month.trimmed()).valid)
        return kMonthMessage;
    if (!checkDay(day.trimmed()).valid)
        return kDayMessage;
    return std::nullopt;
}

std::optional<QString> positionProblem(const QString& latitude, const QString& longitude, const QString& time,
                                       const QString& night)
{
    // The hemisphere plays no part in whether the digits read.
    for (const AngleReading& reading : {readAngle(latitude.trimmed(), Axis::Latitude, u'N'),
                                        readAngle(longitude.trimmed(), Axis::Longitude, u'W')})
        if (!reading.empty && !reading.degrees)
            return reading.shown;
    if (latitude.trimmed().isEmpty() != longitude.trimmed().isEmpty())
        return kPositionPairMessage;
    if (!time.trimmed().isEmpty() && !parseLiberationTime(time))
        return kTimeMessage;
    if (!night.trimmed().isEmpty() && !parseNightWindow(night))
        return kNightMessage;
    return std::nullopt;
}

Controls controlsFor(const WindowState& state)
{
    if (state.mode != Mode::Browse) {
        return {.add = false,
                .edit = false,
                .save = state.fieldsComplete,
                .cancel = true,
                .erase = false,
                .end = false,
                .send = false,
                .boxes = true,
                .list = false};
    }
    const bool shown = state.hasRaces && state.raceShown;
    return {.add = true,
            .edit = shown,
            .save = false,
            .cancel = false,
            .erase = shown,
            .end = true,
            .send = state.hasRaces,
            .boxes = false,
            .list = state.hasRaces};
}

} // namespace liberation
