#include "racedata/race_records.h"

#include "common/pad_field.h"
#include "common/text_codec.h"

#include <QFile>
#include <QSaveFile>

RaceRecordKind raceRecordKind(const QString& record)
{
    const auto length = record.size();
    if (length >= 56 && length <= 74)
        return RaceRecordKind::RaceHeader;
    if (length >= 49 && length <= 55)
        return RaceRecordKind::TrainingHeader;
    if (length == 25 || length == 26)
        return RaceRecordKind::Clocking;
    return RaceRecordKind::Other;
}

bool isHeaderRecord(const QString& record)
{
    const auto kind = raceRecordKind(record);
    return kind == RaceRecordKind::RaceHeader || kind == RaceRecordKind::TrainingHeader;
}

QString RaceHeaderRecord::concourse() const
{
    return Mid(m_text, 1, 4);
}
QString RaceHeaderRecord::combine() const
{
    return Mid(m_text, 5, 2);
}
QString RaceHeaderRecord::club() const
{
    return Mid(m_text, 7, 2);
}
QString RaceHeaderRecord::flyer() const
{
    return Mid(m_text, 9, 3);
}
QString RaceHeaderRecord::rbmSerial() const
{
    return Mid(m_text, 12, 8);
}
QString RaceHeaderRecord::clockStart() const
{
    return Mid(m_text, 20, 12);
}
QString RaceHeaderRecord::clockStop() const
{
    return Mid(m_text, 32, 12);
}
QString RaceHeaderRecord::knockOff() const
{
    return Mid(m_text, 44, 12);
}
QString RaceHeaderRecord::raceNumber() const
{
    return Mid(m_text, 56, 2);
}
QString RaceHeaderRecord::raceDate() const
{
    return Mid(m_text, 59, 5);
}
QString RaceHeaderRecord::liberationPoint() const
{
    return Mid(m_text, 65, 8);
}
QString RaceHeaderRecord::tail() const
{
    return Mid(m_text, 73, 2);
}

int RaceHeaderRecord::raceNumberValue() const
{
    const QString field = raceNumber();
    int value = 0;
    int i = 0;
    while (i < field.size() && field[i] == QLatin1Char(' '))
        ++i;
    for (; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString ClockingRecord::band() const
{
    return Mid(m_text, 1, 14);
}
QString ClockingRecord::bandSuffix() const
{
    return Mid(m_text, 15, 1);
}
QString ClockingRecord::clubLetters() const
{
    return Mid(m_text, 5, 4);
}
QString ClockingRecord::bandNumber() const
{
    return Mid(m_text, 9, 6);
}
QString ClockingRecord::arrivalTime() const
{
    return Mid(m_text, 16, 6);
}
QString ClockingRecord::arrivalMonth() const
{
    return Mid(m_text, 22, 2);
}
QString ClockingRecord::arrivalDay() const
{
    return Mid(m_text, 24, 2);
}
QString ClockingRecord::finalCharacter() const
{
    return Mid(m_text, 26, 1);
}

bool ClockingRecord::hasArrival() const
{
    return Mid(m_text, 16, 10) != QLatin1String("0000000000");
}

namespace {
QString completeName(const QString& base, int baseLength, const QString& extension)
{
    if (base.size() != baseLength || extension.size() != 3)
        return {};
    return base + QLatin1Char('.') + extension;
}

// "_" may stand in a concourse or combine code; "*" is what a module without numbers delivers, and a file
// of that name would never be listed.
bool isNameCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('_');
}
} // namespace

QString raceFileName(const QString& firstRecord)
{
    return completeName(Mid(firstRecord, 1, 8), 8, Mid(firstRecord, 9, 3));
}

QString alternativeRaceFileName(const QString& firstRecord)
{
    return completeName(Mid(firstRecord, 20, 6) + Mid(firstRecord, 7, 2), 8, Mid(firstRecord, 9, 3));
}

bool isSafeRaceFileName(const QString& name)
{
    const auto dot = name.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1 || name.count(QLatin1Char('.')) != 1)
        return false;
    for (QChar c : name)
        if (c != QLatin1Char('.') && !isNameCharacter(c))
            return false;
    return true;
}

bool isTrainingRecord(const QString& firstRecord)
{
    return Mid(firstRecord, 45, 1) == QLatin1String("*");
}

QByteArray raceFileBytes(const QStringList& records)
{
    QByteArray bytes;
    for (const QString& record : records) {
        bytes += toWindows1252(controlsAsSpaces(record));
        bytes += "\r\n";
    }
    return bytes;
}

QStringList parseRaceFile(const QByteArray& bytes)
{
    QStringList records;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            records << decodeRecord(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < size)
        records << decodeRecord(bytes.mid(start));
    return records;
}

RaceFileRead readRaceFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, {}, file.errorString()};
    return {true, parseRaceFile(bytes), {}};
}

QString readFirstRaceRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Far longer than any record; a file without line ends is not read whole.
    const QByteArray head = file.read(4096);
    const QStringList records = parseRaceFile(head);
    return records.isEmpty() ? QString() : records.first();
}

RaceFileWrite writeRaceFile(const QString& path, const QStringList& records)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    const QByteArray bytes = raceFileBytes(records);
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    // commit() flushes the temporary file to disk before renaming it over path.
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}
