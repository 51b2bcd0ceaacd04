#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The settings store: texts under application "Corvex", section "Config", key names matched without regard
// to letter case ("Comports" and "ComPorts" are one entry).
class SettingsStore {
public:
    explicit SettingsStore(const QString& file);

    QString read(const QString& key, const QString& defaultValue) const;
    // False when the store cannot be written; the reason is in lastError().
    bool write(const QString& key, const QString& value);
    bool contains(const QString& key) const;
    QString lastError() const { return m_lastError; }
    QString fileName() const;

private:
    QString storedKey(const QString& key) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_lastError;
};
