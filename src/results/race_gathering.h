#pragma once

#include "racedata/race_records.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The clockings of one race, from every race file of the race folder.
struct GatheredRace {
    struct Clocking {
        int header = 0; // index into headers
        ClockingRecord record;
    };
    std::vector<RaceHeaderRecord> headers; // the race's headers, one per file that flew it
    std::vector<Clocking> clockings;       // file name order, then file order
    QStringList unreadableFiles;           // "NAME: why"
};

// The race is the header's race number (56-57) and its date as the header writes it (59-63, "MM/DD").
// Training flights are left out, and so are clockings without a time; a bird clocked in two files (the
// same module saved twice) counts once, where first met.
GatheredRace gatherRace(const QString& raceFolder, int raceNumber, const QString& raceDate);

// One file's records added to race; bands already taken are skipped and added to taken.
void gatherRecords(const QStringList& records, int raceNumber, const QString& raceDate, GatheredRace& race,
                   QSet<QString>& taken);

// Hands the records of every race file of the folder to visit, in file name order; gives the files that
// could not be read ("NAME: why").
QStringList visitRaceFolder(const QString& raceFolder, const std::function<void(const QStringList&)>& visit);
