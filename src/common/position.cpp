#include "common/position.h"

namespace {
bool allDigits(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

AngleReading refused(QString why)
{
    return {std::nullopt, std::move(why), false};
}
} // namespace

int minimumAngleDigits(Axis axis)
{
    return axis == Axis::Latitude ? 6 : 7;
}

AngleReading readAngle(const QString& digits, Axis axis, QChar hemisphere)
{
    const bool latitude = axis == Axis::Latitude;
    const QString name = latitude ? QStringLiteral("Latitude") : QStringLiteral("Longitude");
    if (digits.isEmpty())
        return {std::nullopt, {}, true};
    if (!allDigits(digits))
        return refused(name + QStringLiteral(" takes digits only"));
    const int degreeDigits = latitude ? 2 : 3;
    if (digits.size() < minimumAngleDigits(axis))
        return refused(name + QStringLiteral(" needs at least %1 digits (%2MMSS)")
                                  .arg(minimumAngleDigits(axis))
                                  .arg(latitude ? QStringLiteral("DD") : QStringLiteral("DDD")));
    const QChar letter = hemisphere.toUpper();
    const bool negative = letter == (latitude ? u'S' : u'W');
    if (!negative && letter != (latitude ? u'N' : u'E'))
        return refused(
            QStringLiteral("Hemisphere %1 is not one of %2").arg(hemisphere, latitude ? "N, S" : "E, W"));

    const int degrees = digits.left(degreeDigits).toInt();
    const int minutes = digits.mid(degreeDigits, 2).toInt();
    const QString fraction = digits.mid(degreeDigits + 4);
    const double seconds = (digits.mid(degreeDigits + 2, 2) + u'.' + fraction + u'0').toDouble();
    if (minutes >= 60 || seconds >= 60)
        return refused(QStringLiteral("Minutes and seconds must be below 60"));
    const double value = degrees + minutes / 60.0 + seconds / 3600.0;
    if (value > (latitude ? 90 : 180))
        return refused(name +
                       (latitude ? QStringLiteral(" is at most 90°") : QStringLiteral(" is at most 180°")));

    QString shown = QStringLiteral("%1°%2'%3")
                        .arg(degrees)
                        .arg(minutes, 2, 10, QLatin1Char('0'))
                        .arg(digits.mid(degreeDigits + 2, 2));
    if (!fraction.isEmpty())
        shown += u'.' + fraction;
    shown += QStringLiteral("\" ") + letter;
    return {negative ? -value : value, shown, false};
}

std::optional<GeoPosition> readPosition(const QString& latitudeDigits, const QString& longitudeDigits,
                                        const Hemispheres& hemispheres)
{
    const AngleReading latitude = readAngle(latitudeDigits, Axis::Latitude, hemispheres.latitude);
    const AngleReading longitude = readAngle(longitudeDigits, Axis::Longitude, hemispheres.longitude);
    if (!latitude.degrees || !longitude.degrees)
        return std::nullopt;
    return GeoPosition{*latitude.degrees, *longitude.degrees};
}
