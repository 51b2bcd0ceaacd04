#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;
class DeviceSerialPort;
class Dialogs;

// The installation's settings as the configuration window holds them: texts as stored or as typed.
struct ConfigValues {
    QString nationalOrg;
    QString concourse;
    QString combine;
    QString combineName;
    QString comPort;
    QString comDevice; // a device path used instead of the port number; empty for the number
};

namespace config_keys {
inline const QString NationalOrg = QStringLiteral("NationalOrg");
inline const QString Concourse = QStringLiteral("Concourse");
inline const QString Combine = QStringLiteral("Combine");
inline const QString CombineName = QStringLiteral("CombineName");
inline const QString ComPortsRead = QStringLiteral("Comports");
inline const QString ComPortsWrite = QStringLiteral("ComPorts");
inline const QString ComDevice = QStringLiteral("ComDevice");
} // namespace config_keys

// AU, CA, CU, IF, MX, NP, US: the pairs of "AUCACUIFMXNPUS".
QStringList NationalOrgCodes();

// The stored values, each with its default when absent; shown as stored, trailing spaces included.
ConfigValues ReadConfig(const SettingsStore& store);

// "Corvex" + 5 spaces + "Concourse = " + CONCOURSE + " " + "Combine = " + COMBINE.
QString ConfigTitle(const QString& concourse, const QString& combine);

// What SaveSettings stores for each field.
QString StoredConcourse(const QString& typed);
QString StoredCombine(const QString& typed);
QString StoredCombineName(const QString& typed);

// The number in the leading digits of the com port text; 0 when it has none.
int PortNumberFromText(const QString& text);
bool IsValidPortNumber(int number);

QString InvalidComPortMessage(const QString& comPortText);
QString WriteFailureMessage(const QString& reason);

// LoadSettings without the window: reads the store into values, sets the port's number (and device) when the
// port is closed, and returns the title to show, or nothing when the port number was invalid (its message has
// been shown). deviceOverride (the --port option) replaces the stored device for this run.
std::optional<QString> LoadSettings(const SettingsStore& store, DeviceSerialPort& port, Dialogs& dialogs,
                                    ConfigValues& values, const QString& deviceOverride = {});

// SaveSettings without the window: stores the fields by the saving rules and returns the title. A write that
// fails shows its message and stops; the keys written before it stay written.
QString SaveSettings(SettingsStore& store, Dialogs& dialogs, const ConfigValues& values);

// Points the port at the number and device of values; false when the number is not valid for the port and
// no device path takes its place.
bool ApplyPortSettings(DeviceSerialPort& port, const ConfigValues& values,
                       const QString& deviceOverride = {});
