#include "settings/settings_store.h"

#include "platform/home.h"

#include <QFileInfo>

namespace {
const QString kGroup = QStringLiteral("Config");
}

SettingsStore::SettingsStore(const QString& file)
    : m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStore::storedKey(const QString& key) const
{
    m_settings->beginGroup(kGroup);
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    for (const QString& existing : keys)
        if (existing.compare(key, Qt::CaseInsensitive) == 0)
            return existing;
    return key;
}

bool SettingsStore::contains(const QString& key) const
{
    return m_settings->contains(kGroup + '/' + storedKey(key));
}

QString SettingsStore::read(const QString& key, const QString& defaultValue) const
{
    return m_settings->value(kGroup + '/' + storedKey(key), defaultValue).toString();
}

bool SettingsStore::write(const QString& key, const QString& value)
{
    // Created private before the first save: a file that exists keeps its mode when it is saved again.
    const QString file = m_settings->fileName();
    if (!QFileInfo::exists(file) && MakePrivateFolder(QFileInfo(file).absolutePath()))
        CreatePrivateFile(file);
    m_settings->setValue(kGroup + '/' + storedKey(key), value);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        m_lastError = QStringLiteral("The settings file %1 cannot be written.").arg(m_settings->fileName());
        return false;
    }
    m_lastError.clear();
    return true;
}
