#pragma once

#include "racedata/race_download.h"
#include "racedata/race_records.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What the export needs of the administration database. A value of nothing with an empty error means the
// row is not there; an error tells why the database could not answer.
struct WinSpeedLookup {
    std::optional<QString> value;
    QString error;
};

class WinSpeedLookups {
public:
    virtual ~WinSpeedLookups() = default;
    // The name of the flyer with this club number and flyer number.
    virtual WinSpeedLookup flyerName(int club, int flyer) = 0;
    // The colour of the first bird with these club letters (band 5-8) and band number (band 9-14).
    virtual WinSpeedLookup birdColour(const QString& clubLetters, const QString& bandNumber) = 0;
};

// A race and its clockings, as the export groups them.
struct WinSpeedRace {
    RaceHeaderRecord header; // a 72-character header already filled with "00"
    std::vector<ClockingRecord> clockings;
};

struct WinSpeedRaces {
    std::vector<WinSpeedRace> races;
    int numberedRaces = 0; // races whose race number is above 0
};

// Groups race headers (56-74 characters) with the clockings after them. Clockings before the first race,
// after a training header, and those beginning with "Unknown" are left out.
WinSpeedRaces sortWinSpeedRaces(const QStringList& records);

// Week of the year, Monday first, week 1 holding 1 January.
int winSpeedWeek(const QDate& date);
// "W00000" + week (2 digits) + ".D00".
QString winSpeedFileName(const QDate& liberationDate);

// A typed liberation date: month/day with an optional year (two digits by the program's century rule),
// ISO year-month-day, or an English month name. A missing year is today's.
std::optional<QDate> parseLiberationDate(const QString& text, const QDate& today);
// 0 to 366 days before today, today included.
bool isLiberationDateAccepted(const QDate& date, const QDate& today);

// A version figure as the RBM gave it in hundredths: 1.23 -> "1.23", 1.5 -> "1.5", 1 -> "1".
QString formatVersionFigure(double value);
// "-" + program major.minor.patch + "-" + RBM version + "-" + its second figure.
QString winSpeedVersionStamp(double rbmVersion, double rbmSecondVersion);

QString winSpeedRecord0(const QDate& liberationDate);
QString winSpeedRecord1(const RaceHeaderRecord& header, int birds, const QString& flyerName,
                        const QString& versionStamp);
QString winSpeedRecord2(const RaceHeaderRecord& header);
QString winSpeedRecord3(const RaceHeaderRecord& header, const ClockingRecord& clocking,
                        const QString& colour);

// The date of an existing WinSpeed file's first record "0" (DDMMYY); nothing when the file does not begin
// with such a record.
std::optional<QDate> winSpeedFileDate(const QByteArray& head);
// Where an old file is kept: its extension replaced by the two-digit year + "O" (W0000019.D00 of 2007 ->
// W0000019.07O).
QString oldWinSpeedPath(const QString& path, const QDate& fileDate);

enum class WinSpeedOutcome {
    Saved,
    NoClock,
    NoRbm,
    ExchangeFailed,
    NoRaceData,
    NoRaces,   // training flights only
    Declined,  // No to the notice about races numbered 0
    Cancelled, // the date or the file was not given
    FileRefused,
    FileError,
};

struct WinSpeedResult {
    WinSpeedOutcome outcome = WinSpeedOutcome::NoClock;
    QString path;
    int recordsWritten = 0; // records "3"
};

// mnuWinSpeed: reads the race records of the memory module and appends them, with the flyer's name and the
// birds' colours, to the WinSpeed file of the liberation week.
WinSpeedResult exportWinSpeed(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                              WinSpeedLookups& lookups, const QString& raceFolder,
                              const ShowClockStatusHook& showClockStatus = {});

inline const QString kLiberationDateTitle = QStringLiteral("Enter liberation date");
inline const QString kLiberationDatePrompt = QStringLiteral("Current year by default");
inline const QString kWinSpeedNoticeTitle = QStringLiteral("WinSpeed Notice");
inline const QString kInvalidDataTypeTitle = QStringLiteral("Invalid data type");
inline const QString kOldRaceDataTitle = QStringLiteral("Old race data");
inline const QString kWinSpeedFilter = QStringLiteral("WinSpeed Data Files (*.D00)|*.D00|");
inline const QString kRecordsWritten = QStringLiteral("Records Written");
inline const QString kRaceDataCopied = QStringLiteral("Race data copied to file OK.");
