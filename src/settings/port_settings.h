#pragma once

#include "settings/configuration.h"

#include <QString>
#include <optional>

class DeviceSerialPort;
class Dialogs;
class SettingsStore;

// LoadSettings without the window: reads the store into values, sets the port's number (and device) when the
// port is closed, and returns the title to show, or nothing when the port number was invalid (its message has
// been shown). deviceOverride (the --port option) replaces the stored device for this run.
std::optional<QString> LoadSettings(const SettingsStore& store, DeviceSerialPort& port, Dialogs& dialogs,
                                    ConfigValues& values, const QString& deviceOverride = {});

// Points the port at the number and device of values; false when the number is not valid for the port and
// no device path takes its place.
bool applyPortSettings(DeviceSerialPort& port, const ConfigValues& values,
                       const QString& deviceOverride = {});
