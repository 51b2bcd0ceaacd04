#pragma once

// A race figured from what is stored: its liberation point in the administration database, its clockings
// in the race folder. The results window and `corvex-cli results` both call these.

#include "admin/admin_data.h"
#include "results/race_figures.h"
#include "results/result_lookups.h"

#include <QSet>

struct GatheredRace;

// The administration database's answers: the loft by club number and flyer number (compared separately, as
// WinSpeed's look-up does), whether a bird with the club letters and band number is stored. Birds are
// fetched for a whole race at once.
class DatabaseResultLookups : public ResultLookups {
public:
    explicit DatabaseResultLookups(const AdminData& data) : m_data(data) {}
    // Fetches every bird clocked in race in a few statements; an error is kept for the next look-up.
    void prefetch(const GatheredRace& race);

    ResultLookup<Loft> loft(int club, int flyer) override;
    ResultLookup<bool> birdKnown(const QString& clubLetters, const QString& bandNumber) override;

private:
    QString fetch(const QStringList& bandNumbers);

    const AdminData& m_data;
    QSet<QString> m_fetched; // band numbers asked for, compared as the database does
    QSet<QString> m_known;   // club letters and band numbers of the birds stored
    QString m_error;
};

// The race with this number (1-99) and date ("MM/DD", as the race headers write it): the liberation point
// stored for it, every clocking of it in raceFolder. Anything that keeps it from being figured (no such
// point, no readable folder, no race file of the race, a database failure) is in the result's error.
FiguredRace figureStoredRace(const AdminData& data, const QString& raceFolder, int raceNumber,
                             const QString& raceDate, const ResultOptions& options);

// A race that can be chosen: a liberation point stored, a race flown into the folder, or both.
struct RaceChoice {
    int raceNumber = 0;
    QString date;            // "MM/DD"
    QString liberationPoint; // empty when no point is stored for it
    int lofts = 0;           // race files of the folder that flew it
};
// The stored points in stored order, then the races of the folder that have none, by number and date.
Fetched<std::vector<RaceChoice>> raceChoices(const AdminData& data, const QString& raceFolder);
// "04  06/14  DIXON  (12 lofts)", as a chooser lists it.
QString raceChoiceText(const RaceChoice& choice);
