#pragma once

#include "results/position.h"

#include <QString>

// North America and the UK figure in yards per minute and miles, the continent in metres per minute and
// kilometres.
enum class VelocityUnit { YardsPerMinute, MetresPerMinute };

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
