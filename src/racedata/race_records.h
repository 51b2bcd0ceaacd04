#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The race records the memory module delivers, told apart by length alone.
enum class RaceRecordKind { RaceHeader, TrainingHeader, Clocking, Other };

RaceRecordKind raceRecordKind(const QString& record);
// A header of either kind: 49 to 74 characters.
bool isHeaderRecord(const QString& record);

// One race or training flight. Fields are cut by position; a record too short for a field reads it as what
// it has, possibly empty, never past its end.
class RaceHeaderRecord {
public:
    explicit RaceHeaderRecord(QString text = {}) : m_text(std::move(text)) {}

    const QString& text() const { return m_text; }
    RaceRecordKind kind() const { return raceRecordKind(m_text); }
    bool isTraining() const { return kind() == RaceRecordKind::TrainingHeader; }

    QString concourse() const;       // 1-4
    QString combine() const;         // 5-6
    QString club() const;            // 7-8
    QString flyer() const;           // 9-11
    QString rbmSerial() const;       // 12-19
    QString clockStart() const;      // 20-31, mmddyyhhmmss
    QString clockStop() const;       // 32-43, the verified time
    QString knockOff() const;        // 44-55, the clock's own time
    QString raceNumber() const;      // 56-57
    QString raceDate() const;        // 59-63
    QString liberationPoint() const; // 65-72
    QString tail() const;            // 73-74

    // Race number as the clock's decimal digits (leading spaces skipped); 0 when not a number.
    int raceNumberValue() const;

private:
    QString m_text;
};

// One clocked bird.
class ClockingRecord {
public:
    explicit ClockingRecord(QString text = {}) : m_text(std::move(text)) {}

    const QString& text() const { return m_text; }

    QString band() const;           // 1-14, the band identity
    QString bandSuffix() const;     // 15
    QString clubLetters() const;    // 5-8
    QString bandNumber() const;     // 9-14
    QString arrivalTime() const;    // 16-21, hhmmss
    QString arrivalMonth() const;   // 22-23
    QString arrivalDay() const;     // 24-25
    QString finalCharacter() const; // 26, empty for a 25-character record
    // False when 16-25 are all zeros.
    bool hasArrival() const;

private:
    QString m_text;
};

// The names a race file gets from its first record: 1-8 "." 9-11, or 20-25 7-8 "." 9-11 when the user keeps
// an existing file. Empty when the record is too short to give a complete name.
QString raceFileName(const QString& firstRecord);
QString alternativeRaceFileName(const QString& firstRecord);
// A name built from a record may hold only ASCII letters, digits and "_" around its one dot, so that a record
// can never lead outside the race folder.
bool isSafeRaceFileName(const QString& name);

// Training files carry "*" at position 45 of their first record.
bool isTrainingRecord(const QString& firstRecord);

// The bytes of a race file: one record a line, CR LF after each, Windows-1252, nothing else. Control
// characters inside a record become spaces so that one record always stays one line.
QByteArray raceFileBytes(const QStringList& records);

// The records of race file bytes: one per line. Lines end at CR LF, LF or CR; the empty text after the last
// line end is not a record. A comma is part of the record: race records are fixed-width, and a comma in a
// liberation point name must not split its header.
QStringList parseRaceFile(const QByteArray& bytes);

struct RaceFileRead {
    bool ok = false;
    QStringList records;
    QString error; // why the file could not be read
};
RaceFileRead readRaceFile(const QString& path);
// The first record of a race file, read without loading the whole file; empty when unreadable.
QString readFirstRaceRecord(const QString& path);

struct RaceFileWrite {
    bool ok = false;
    QString error;
};
// Writes to a temporary file beside path, flushes it to disk and renames it into place, so path holds either
// its old content or all the new records, never a part.
RaceFileWrite writeRaceFile(const QString& path, const QStringList& records);
