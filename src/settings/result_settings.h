#pragma once

#include "common/position.h"

#include <QString>

class SettingsStore;
class Dialogs;

// How races are figured here: the hemispheres that typed coordinates lie in and the velocity unit.
struct ResultSettings {
    VelocityUnit unit = VelocityUnit::YardsPerMinute;
    Hemispheres hemispheres;
};

namespace config_keys {
// Two letters, the latitude's then the longitude's: "NW".
inline const QString Hemispheres = QStringLiteral("Hemispheres");
// "yards" (per minute) or "metres".
inline const QString VelocityUnit = QStringLiteral("VelocityUnit");
} // namespace config_keys

// The stored settings; a missing or unknown value gives its default (N, W, yards per minute).
ResultSettings readResultSettings(const SettingsStore& store);
// False when the store cannot be written, after its message was shown.
bool storeResultSettings(SettingsStore& store, Dialogs& dialogs, const ResultSettings& settings);
