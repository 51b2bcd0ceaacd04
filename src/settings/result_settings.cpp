#include "settings/result_settings.h"

#include "platform/dialogs.h"
#include "settings/configuration.h"
#include "settings/settings_store.h"

namespace {
const QString kMetres = QStringLiteral("metres");
const QString kYards = QStringLiteral("yards");
} // namespace

ResultSettings readResultSettings(const SettingsStore& store)
{
    ResultSettings settings;
    const QString letters = store.read(config_keys::Hemispheres, QString()).trimmed().toUpper();
    if (letters.size() == 2) {
        if (letters[0] == u'N' || letters[0] == u'S')
            settings.hemispheres.latitude = letters[0];
        if (letters[1] == u'E' || letters[1] == u'W')
            settings.hemispheres.longitude = letters[1];
    }
    if (store.read(config_keys::VelocityUnit, kYards).trimmed().compare(kMetres, Qt::CaseInsensitive) == 0)
        settings.unit = VelocityUnit::MetresPerMinute;
    return settings;
}

bool storeResultSettings(SettingsStore& store, Dialogs& dialogs, const ResultSettings& settings)
{
    const QString unit = settings.unit == VelocityUnit::MetresPerMinute ? kMetres : kYards;
    if (store.write(config_keys::Hemispheres,
                    QString(settings.hemispheres.latitude) + settings.hemispheres.longitude) &&
        store.write(config_keys::VelocityUnit, unit))
        return true;
    dialogs.inform(writeFailureMessage(store.lastError() + QLatin1Char(' ')));
    return false;
}
