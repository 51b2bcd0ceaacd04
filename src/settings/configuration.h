#pragma once

#include "common/pad_field.h"

#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;
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
inline const QString DatabaseServer = QStringLiteral("DatabaseServer");
// Records the database file made on the first run; without it a missing file is made anew.
inline const QString DatabaseFile = QStringLiteral("DatabaseFile");
} // namespace config_keys

// AU, CA, CU, IF, MX, NP, US: the pairs of "AUCACUIFMXNPUS".
QStringList nationalOrgCodes();

// The stored values, each with its default when absent; shown as stored, trailing spaces included.
ConfigValues readConfig(const SettingsStore& store);

// "Corvex" + 5 spaces + "Concourse = " + CONCOURSE + " " + "Combine = " + COMBINE.
QString configTitle(const QString& concourse, const QString& combine);

// What SaveSettings stores for each field.
QString storedConcourse(const QString& typed);
QString storedCombine(const QString& typed);
QString storedCombineName(const QString& typed);

// The number in the leading digits of the com port text; 0 when it has none.
inline int portNumberFromText(const QString& text)
{
    return leadingNumber(text);
}
bool isValidPortNumber(int number);

QString invalidComPortMessage(const QString& comPortText);
QString writeFailureMessage(const QString& reason);

// SaveSettings without the window: stores the fields by the saving rules and returns the title. A write that
// fails shows its message and stops; the keys written before it stay written.
QString SaveSettings(SettingsStore& store, Dialogs& dialogs, const ConfigValues& values);

// Stores the database server's address (empty: the database file) when it differs from the stored one. An
// address holding a password makes the settings file readable by its owner only. An address that is not a
// PostgreSQL one is not stored, and a write that fails neither: their messages are shown and false given.
bool saveDatabaseServer(SettingsStore& store, Dialogs& dialogs, const QString& address);
QString invalidDatabaseServerMessage(const QString& address);
