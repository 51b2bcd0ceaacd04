#pragma once

#include "common/position.h"

#include <QString>

constexpr double kMetresPerYard = 0.9144;
constexpr double kMetresPerMile = 1609.344;

// The airline distance on the WGS84 ellipsoid (geodesic), in metres.
double geodesicMetres(const GeoPosition& from, const GeoPosition& to);

// Metres as the velocity's length: yards or metres.
double velocityLength(double metres, VelocityUnit unit);
// Metres as the published distance: miles or kilometres.
double publishedDistance(double metres, VelocityUnit unit);
QString velocityUnitName(VelocityUnit unit); // "yards per minute" / "metres per minute"
QString distanceUnitName(VelocityUnit unit); // "miles" / "km"
