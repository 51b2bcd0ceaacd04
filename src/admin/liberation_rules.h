#pragma once

#include <QString>
#include <optional>

namespace liberation {

// Table orte keeps at most this many points.
inline constexpr int kMaxPoints = 51;

inline const QString kNoRacesEntry = QStringLiteral("No Races");
inline const QString kNoRacesCount = QStringLiteral("0 Races Listed");
inline const QString kNotWinSpeedNote = QStringLiteral("** - NOT WinSpeed\r\nCompatible");
inline const QString kMonthMessage = QStringLiteral("Invalid data for month ");
inline const QString kDayMessage = QStringLiteral("Invalid data for day");
inline const QString kAddMissingFields = QStringLiteral("All fields must contain data!");
inline const QString kEditMissingFields = QStringLiteral("All fields must be filled in!");
inline const QString kErrorTitle = QStringLiteral("Error");
inline const QString kDeleteQuestion = QStringLiteral("Are you sure you wish to DELETE this record?");
inline const QString kDeleteTitle = QStringLiteral("Delete Record");
inline const QString kListFull =
    QStringLiteral("The liberation list is full (51 points). Delete a point before adding "
                   "another.");
inline const QString kDefaultType = QStringLiteral("1");

struct RacePoint {
    QString number; // racenum, two digits
    QString date;   // racedate, month then day
    QString name;   // racename
    QString type;   // racetype
};

// Two digits, zero-filled on the left; a longer number keeps its rightmost two.
QString padRaceNumber(const QString& text);
// Month and day boxes are padded the same way.
QString padDatePart(const QString& text);
// WinSpeed takes race numbers 1 to 99 only.
bool winSpeedCompatible(const QString& raceNumber);
// "07  07/04  Wichita": number padded to 4 with " " (or "*" when WinSpeed cannot take it), month/day, name.
QString listEntry(const RacePoint& point);
// The race number (characters 1-2) and the name (from character 12) of a list entry.
QString numberFromEntry(const QString& entry);
QString nameFromEntry(const QString& entry);
// "3 Race(s) Listed".
QString countLine(int count);

// The box texts after leaving: padded, and "01" with the message when out of range.
struct DatePartCheck {
    QString text;
    bool valid = true;
};
DatePartCheck checkMonth(const QString& text);
DatePartCheck checkDay(const QString& text);

bool acceptsDigit(QChar c);
// A new point may be stored while the table holds fewer than the maximum.
bool roomForAnother(int rowCount);

// The first rule typed fields break (month, day, missing field), as the window's message; nothing when the
// point may be stored. missingMessage is the add or the edit text.
std::optional<QString> fieldProblem(const QString& number, const QString& month, const QString& day,
                                    const QString& name, const QString& type, const QString& missingMessage);

// The race's position, liberation time and night window: each may stay empty (not known yet), but what is
// typed must read. The first problem as the window's message; nothing when all is well.
inline const QString kPositionPairMessage =
    QStringLiteral("Type both the latitude and the longitude of the liberation point, or neither.");
inline const QString kTimeMessage =
    QStringLiteral("The liberation time must be HH:MM:SS on the 24-hour clock, e.g. 06:30:00.");
inline const QString kNightMessage = QStringLiteral(
    "The night must be HH:MM-HH:MM on the 24-hour clock, e.g. 21:00-05:00 (start and end differ).");
std::optional<QString> positionProblem(const QString& latitude, const QString& longitude, const QString& time,
                                       const QString& night);

enum class Mode { Browse, Adding, Editing };

struct WindowState {
    Mode mode = Mode::Browse;
    bool hasRaces = false;
    bool raceShown = false;
    bool fieldsComplete = false; // number, month, day and name hold text
};

struct Controls {
    bool add, edit, save, cancel, erase, end, send;
    bool boxes, list;
};

Controls controlsFor(const WindowState& state);

} // namespace liberation
