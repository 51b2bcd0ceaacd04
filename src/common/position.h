#pragma once

#include <QChar>
#include <QString>
#include <optional>

// Positions are typed as digits only: latitude DD MM SS, longitude DDD MM SS, any further digits being the
// decimal fraction of the seconds (the DOS files' DDMMSSt and DDDMMSS read the same way). The hemispheres
// are not typed; they come from the configuration.
enum class Axis { Latitude, Longitude };

struct Hemispheres {
    QChar latitude = u'N';  // N or S
    QChar longitude = u'W'; // E or W
};

struct AngleReading {
    std::optional<double> degrees; // signed: south and west are negative
    QString shown;                 // what was understood (41°52'30.5" N), or why it is refused
    bool empty = false;            // nothing typed: not an error, just no position
};

// The fewest digits a typed angle may have: 6 for a latitude, 7 for a longitude.
int minimumAngleDigits(Axis axis);
AngleReading readAngle(const QString& digits, Axis axis, QChar hemisphere);

// North America and the UK figure velocities in yards per minute and distances in miles, the continent in
// metres per minute and kilometres.
enum class VelocityUnit { YardsPerMinute, MetresPerMinute };

struct GeoPosition {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
};

// Nothing unless both angles are typed and readable.
std::optional<GeoPosition> readPosition(const QString& latitudeDigits, const QString& longitudeDigits,
                                        const Hemispheres& hemispheres);
