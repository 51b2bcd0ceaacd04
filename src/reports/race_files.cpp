#include "reports/race_files.h"

#include "platform/home.h"
#include "racedata/race_records.h"
#include "settings/settings_store.h"

#include <QDir>

bool matchesRaceFilePattern(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot + 1 >= fileName.size())
        return false;
    const QChar first = fileName[dot + 1];
    return first >= QLatin1Char('0') && first <= QLatin1Char('9');
}

bool isSkippedFileName(const QString& fileName)
{
    const QString upper = fileName.toUpper();
    return upper.startsWith(QLatin1Char('Z')) || upper.startsWith(QStringLiteral("ST6UNST")) ||
           upper.startsWith(QStringLiteral("RBM"));
}

std::vector<RaceFileEntry> listRaceFiles(const QString& folder)
{
    std::vector<RaceFileEntry> entries;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (!matchesRaceFilePattern(name) || isSkippedFileName(name))
            continue;
        entries.push_back({name, isTrainingRecord(readFirstRaceRecord(dir.filePath(name)))});
    }
    return entries;
}

QString filesListedText(int count)
{
    return QString::number(count) + QStringLiteral(" file(s) listed");
}

QString reportsRaceFolder(const Home& home, const SettingsStore& settings)
{
    const QString configured = settings.read(QStringLiteral("RaceFolder"), QString()).trimmed();
    return configured.isEmpty() ? home.raceFolder : configured;
}
