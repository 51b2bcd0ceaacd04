#include "racedata/admin_winspeed_lookups.h"

#include "admin/admin_data.h"

namespace {
WinSpeedLookup fromFetched(const Fetched<std::optional<QString>>& fetched)
{
    if (!fetched.ok())
        return {std::nullopt, fetched.status.description};
    return {fetched.value, {}};
}
} // namespace

WinSpeedLookup AdminWinSpeedLookups::flyerName(int club, int flyer)
{
    return fromFetched(m_data.flyerNameByClubAndId(club, flyer));
}

WinSpeedLookup AdminWinSpeedLookups::birdColour(const QString& clubLetters, const QString& bandNumber)
{
    return fromFetched(m_data.birdColour(clubLetters, bandNumber));
}
