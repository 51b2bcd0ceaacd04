#include "settings/configuration.h"

#include "common/pad_field.h"
#include "database/engine.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"

#include <QFile>
#include <QUrl>

QStringList nationalOrgCodes()
{
    const QString all = QStringLiteral("AUCACUIFMXNPUS");
    QStringList codes;
    for (int i = 0; i < all.size(); i += 2)
        codes << all.mid(i, 2);
    return codes;
}

ConfigValues readConfig(const SettingsStore& store)
{
    ConfigValues values;
    values.nationalOrg = store.read(config_keys::NationalOrg, QStringLiteral("AU"));
    values.combine = store.read(config_keys::Combine, QStringLiteral("00"));
    values.concourse = store.read(config_keys::Concourse, QStringLiteral("0000"));
    values.combineName = store.read(config_keys::CombineName, QStringLiteral("Default"));
    values.comPort = store.read(config_keys::ComPortsRead, QStringLiteral("1"));
    values.comDevice = store.read(config_keys::ComDevice, QString());
    return values;
}

QString configTitle(const QString& concourse, const QString& combine)
{
    return QStringLiteral("Corvex") + QString(5, QLatin1Char(' ')) + QStringLiteral("Concourse = ") +
           concourse.toUpper() + QLatin1Char(' ') + QStringLiteral("Combine = ") + combine.toUpper();
}

QString storedConcourse(const QString& typed)
{
    return PadField(typed.toUpper(), 4, QLatin1Char('0'), true);
}

QString storedCombine(const QString& typed)
{
    return PadField(typed.toUpper(), 2, QLatin1Char('0'), true);
}

QString storedCombineName(const QString& typed)
{
    return PadField(typed.isEmpty() ? QStringLiteral("Default") : typed, 20, QLatin1Char(' '), true);
}

bool isValidPortNumber(int number)
{
    return number >= 1 && number <= 99;
}

QString invalidComPortMessage(const QString& comPortText)
{
    return QStringLiteral("Invalid comport number") + comPortText +
           QStringLiteral("\r\nCheck to see that the Corvex is connected and turned on.");
}

QString writeFailureMessage(const QString& reason)
{
    return QStringLiteral("Error ") + reason + QStringLiteral("Cannot write configuration settings.");
}

QString SaveSettings(SettingsStore& store, Dialogs& dialogs, const ConfigValues& values)
{
    const QString title = configTitle(values.concourse, values.combine);
    const std::pair<QString, QString> entries[] = {
        {config_keys::NationalOrg, values.nationalOrg},
        {config_keys::Concourse, storedConcourse(values.concourse)},
        {config_keys::Combine, storedCombine(values.combine)},
        {config_keys::CombineName, storedCombineName(values.combineName)},
        {config_keys::ComPortsWrite, values.comPort},
        {config_keys::ComDevice, values.comDevice.trimmed()},
    };
    for (const auto& [key, value] : entries) {
        if (!store.write(key, value)) {
            dialogs.inform(writeFailureMessage(store.lastError() + QLatin1Char(' ')));
            break;
        }
    }
    return title;
}

QString invalidDatabaseServerMessage(const QString& address)
{
    return QStringLiteral(
               "'%1' is not a database server address. Enter it as "
               "postgresql://user@server:5432/database, or leave the field empty to use the database "
               "file. The address was not stored.")
        .arg(address);
}

bool saveDatabaseServer(SettingsStore& store, Dialogs& dialogs, const QString& address)
{
    const QString server = address.trimmed();
    const QUrl url(server);
    if (!server.isEmpty() && (!engineFor(server).isServer() || !url.isValid() || url.path().size() < 2)) {
        dialogs.inform(invalidDatabaseServerMessage(server));
        return false;
    }
    // Written only when changed: a store without the key keeps the file.
    if (server != store.read(config_keys::DatabaseServer, QString()).trimmed() &&
        !store.write(config_keys::DatabaseServer, server)) {
        dialogs.inform(writeFailureMessage(store.lastError() + QLatin1Char(' ')));
        return false;
    }
    if (url.password().isEmpty())
        return true;
    if (!QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        dialogs.inform(writeFailureMessage(
            QStringLiteral("%1 cannot be made private, and it holds the database password. ")
                .arg(store.fileName())));
        return false;
    }
    return true;
}
