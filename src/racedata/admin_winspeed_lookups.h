#pragma once

#include "racedata/winspeed_export.h"

class AdminData;

// The export's look-ups on the administration database.
class AdminWinSpeedLookups : public WinSpeedLookups {
public:
    explicit AdminWinSpeedLookups(const AdminData& data) : m_data(data) {}

    WinSpeedLookup flyerName(int club, int flyer) override;
    WinSpeedLookup birdColour(const QString& clubLetters, const QString& bandNumber) override;

private:
    const AdminData& m_data;
};
