#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct ClockLink;
class Dialogs;
class Progress;

// How reading the race series ended.
enum class RaceSeriesEnd {
    Complete,       // EOT
    NoClock,        // the version query failed; the exchange has reported it
    NoRbm,          // "E2" during the series
    ExchangeFailed, // any other failure code or an empty text
    Runaway,        // the series ran past what a module holds
};

struct RaceSeries {
    RaceSeriesEnd end = RaceSeriesEnd::Complete;
    QStringList records; // every block longer than one character, in the order received
};

// Called after the version query so that a window can refresh the clock's status display.
using ShowClockStatusHook = std::function<void()>;

// Asks the clock who it is, then reads the race series ("W", ACK ... EOT) with a progress count. Reports
// "No RBM Inserted" on "E2" and "Race data not saved." on any other failed read; leaves the progress window
// shown after a complete series. Nothing is kept from a series that did not end with EOT.
RaceSeries readRaceSeries(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                          const ShowClockStatusHook& showClockStatus = {});

// Outcome of mnuDOSRaceData.
enum class RaceDownloadOutcome {
    Saved,
    NoClock,
    NoRbm,
    ExchangeFailed,
    NoRaceData,
    Cancelled,       // "Cancel" to the replace question
    InvalidFileName, // the first record does not give a safe name
    FileError,
};

struct RaceDownloadResult {
    RaceDownloadOutcome outcome = RaceDownloadOutcome::NoClock;
    QString path; // the race file written
    int records = 0;
};

// Reads every race record of the memory module and saves them unchanged as a race file in raceFolder, named
// from the first record, asking before an existing file is replaced.
RaceDownloadResult downloadRaceData(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                    const QString& raceFolder,
                                    const ShowClockStatusHook& showClockStatus = {});

// The race folder as messages show it: native separators and a closing separator.
QString displayedRaceFolder(const QString& raceFolder);

inline const QString kNoRbmInserted = QStringLiteral("No RBM Inserted");
inline const QString kNoRaceDataInRbm = QStringLiteral("    No race data in RBM");
inline const QString kRaceDataNotSaved = QStringLiteral("Race data not saved.");
inline const QString kRaceSeriesNotEnded =
    QStringLiteral("Race data not saved.\r\nThe RBM did not end its race data.");
inline const QString kSaveRaceDataTitle = QStringLiteral("Save Race Data");
inline const QString kReplaceRaceFileQuestion =
    QStringLiteral("File already exists!  Do you want to replace it?");
