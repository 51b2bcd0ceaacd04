#include "results/distance.h"

#include <GeographicLib/Geodesic.hpp>

double geodesicMetres(const GeoPosition& from, const GeoPosition& to)
{
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude, from.longitude, to.latitude, to.longitude,
                                             metres);
    return metres;
}

double velocityLength(double metres, VelocityUnit unit)
{
    return unit == VelocityUnit::YardsPerMinute ? metres / kMetresPerYard : metres;
}

double publishedDistance(double metres, VelocityUnit unit)
{
    return unit == VelocityUnit::YardsPerMinute ? metres / kMetresPerMile : metres / 1000.0;
}

QString velocityUnitName(VelocityUnit unit)
{
    return unit == VelocityUnit::YardsPerMinute ? QStringLiteral("yards per minute")
                                                : QStringLiteral("metres per minute");
}

QString distanceUnitName(VelocityUnit unit)
{
    return unit == VelocityUnit::YardsPerMinute ? QStringLiteral("miles") : QStringLiteral("km");
}
