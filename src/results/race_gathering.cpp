#include "results/race_gathering.h"

#include "reports/race_files.h"

#include <QDir>

void gatherRecords(const QStringList& records, int raceNumber, const QString& raceDate, GatheredRace& race,
                   QSet<QString>& taken)
{
    bool inRace = false;
    for (const QString& text : records) {
        const RaceRecordKind kind = raceRecordKind(text);
        if (kind == RaceRecordKind::RaceHeader || kind == RaceRecordKind::TrainingHeader) {
            const RaceHeaderRecord header(text);
            inRace = kind == RaceRecordKind::RaceHeader && header.raceNumberValue() == raceNumber &&
                     header.raceDate() == raceDate;
            if (inRace)
                race.headers.push_back(header);
            continue;
        }
        if (!inRace || kind != RaceRecordKind::Clocking)
            continue;
        const ClockingRecord clocking(text);
        if (!clocking.hasArrival() || taken.contains(clocking.band()))
            continue;
        taken.insert(clocking.band());
        race.clockings.push_back({int(race.headers.size()) - 1, clocking});
    }
}

QStringList visitRaceFolder(const QString& raceFolder, const std::function<void(const QStringList&)>& visit)
{
    QStringList unreadable;
    const QDir dir(raceFolder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!matchesRaceFilePattern(name) || isSkippedFileName(name))
            continue;
        const RaceFileRead read = readRaceFile(dir.filePath(name));
        if (!read.ok)
            unreadable << name + QStringLiteral(": ") + read.error;
        else
            visit(read.records);
    }
    return unreadable;
}

GatheredRace gatherRace(const QString& raceFolder, int raceNumber, const QString& raceDate)
{
    GatheredRace race;
    QSet<QString> taken;
    race.unreadableFiles = visitRaceFolder(raceFolder, [&](const QStringList& records) {
        gatherRecords(records, raceNumber, raceDate, race, taken);
    });
    return race;
}
