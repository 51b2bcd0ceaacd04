#include "reports/race_result.h"

#include "common/pad_field.h"
#include "common/text_codec.h"
#include "common/today.h"
#include "racedata/race_records.h"
#include "reports/owner_lookup.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

const QString kNoArrival = QStringLiteral("0000000000");

std::optional<int> twoDigits(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || text.trimmed().isEmpty())
        return std::nullopt;
    return value;
}

// Twelve digits month, day, year, hour, minute, second; nothing when they are not a date and time.
std::optional<QDateTime> headerDateTime(const QString& digits)
{
    if (digits.size() != 12)
        return std::nullopt;
    const QDate date = dateFromParts(Mid(digits, 1, 2), Mid(digits, 3, 2), Mid(digits, 5, 2));
    const auto hour = twoDigits(Mid(digits, 7, 2));
    const auto minute = twoDigits(Mid(digits, 9, 2));
    const auto second = twoDigits(Mid(digits, 11, 2));
    if (!date.isValid() || !hour || !minute || !second)
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    if (!time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString formatted(const std::optional<QDateTime>& value)
{
    return value ? value->toString(QStringLiteral("MM/dd/yy HH:mm:ss")) : QString();
}

// The value of the leading digits after leading spaces, as the clock's numbers are read; 0 without digits.
int leadingValue(const QString& text)
{
    int value = 0;
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    for (; i < text.size() && text[i].isDigit() && value < 100000; ++i)
        value = value * 10 + text[i].digitValue();
    return value;
}

// The memory module's serial without leading zeros; a serial that is not a number is shown as it is.
QString serialText(const QString& serial)
{
    const QString trimmed = serial.trimmed();
    if (trimmed.isEmpty())
        return {};
    for (QChar c : trimmed) {
        if (!c.isDigit() || c.unicode() > 0x7F)
            return trimmed;
    }
    qsizetype firstNonZero = 0;
    while (firstNonZero < trimmed.size() - 1 && trimmed[firstNonZero] == QLatin1Char('0'))
        ++firstNonZero;
    return trimmed.mid(firstNonZero);
}

QString reportLine(int position, const QString& owner, const QString& record)
{
    return PadField(QString::number(position), 10, ' ', true) + PadField(owner, 25, ' ', true) +
           PadField(Mid(record, 1, 14), 20, ' ', true) + Mid(record, 16, 2) + ':' + Mid(record, 18, 2) + ':' +
           PadField(Mid(record, 20, 2), 9, ' ', true) + Mid(record, 22, 2) + '/' +
           PadField(Mid(record, 24, 2), 5, ' ', true);
}

QString filledLine(const QString& text)
{
    return PadField(text, 80, '-', true);
}

void fillHeaderFields(RaceFields& f, const RaceHeaderRecord& header)
{
    f.concourse = header.concourse();
    f.combine = header.combine();
    f.clubNo = header.club();
    f.flyerNo = header.flyer();
    f.rbmSerial = serialText(header.rbmSerial());
    const QString start = header.clockStart();
    if (f.training) {
        f.raceNumber = kTraining;
        f.raceDate = kNotApplicable;
        f.liberationPoint = kNotApplicable;
        f.clockStart = Mid(start, 1, 2) + '/' + Mid(start, 3, 2) + '/' + Mid(start, 5, 2) + ' ' +
                       Mid(start, 7, 2) + '-' + Mid(start, 9, 2) + '-' + Mid(start, 11, 2);
        f.clockStop = kNotApplicable;
        f.knockOff = kNotApplicable;
        f.devAmount = kNotApplicable;
        f.devLabel.clear();
        return;
    }
    f.raceNumber = header.raceNumber();
    f.raceDate = header.raceDate();
    f.liberationPoint = header.liberationPoint();
    f.clockStart = formatted(headerDateTime(start));

    const QString stop = header.clockStop();
    const QString knock = header.knockOff();
    if (leadingValue(Mid(stop, 1, 2)) == 0) {
        f.noKnockOff = true;
        f.clockStop = kNoKnockOff;
        f.knockOff = kNoKnockOff;
        f.devAmount = QStringLiteral("0");
        f.devLabel = kSeconds;
        return;
    }
    f.knockOff = Mid(knock, 1, 2) + '/' + Mid(knock, 3, 2) + '/' + Mid(knock, 5, 2) + ' ' + Mid(knock, 7, 2) +
                 ':' + Mid(knock, 9, 2) + ':' + Mid(knock, 11, 2);
    const auto verified = headerDateTime(stop);
    const auto clockTime = headerDateTime(knock);
    f.clockStop = formatted(verified);
    if (!verified || !clockTime) {
        // Without both times the clock cannot be checked: say so rather than report a clean clock.
        f.devAmount.clear();
        f.devLabel = kPossibleClockError;
        return;
    }
    const qint64 deviation = verified->secsTo(*clockTime);
    f.devAmount = QString::number(deviation);
    f.devLabel = (deviation > kDeviationTolerance || deviation < -kDeviationTolerance) ? kPossibleClockError
                                                                                       : kSeconds;
}

} // namespace

RaceFileContent raceFileContent(const QStringList& records)
{
    RaceFileContent content;
    for (const QString& record : records) {
        if (isHeaderRecord(record)) {
            content.headers.append(record.size() == 72 ? record + QStringLiteral("**") : record);
        } else if (record.size() == 25 || record.size() == 26) {
            content.clockings.push_back({record, int(content.headers.size()) - 1});
        }
    }
    return content;
}

RaceFileContent raceFileContent(const QByteArray& bytes)
{
    return raceFileContent(parseRaceFile(bytes));
}

RaceFileLoad loadRaceFile(const QString& path)
{
    RaceFileLoad load;
    const QFileInfo info(path);
    if (!info.dir().exists()) {
        load.folderMissing = true;
        load.error = QStringLiteral("The folder %1 does not exist.")
                         .arg(QDir::toNativeSeparators(info.absolutePath()));
        return load;
    }
    const RaceFileRead read = readRaceFile(path);
    if (!read.ok) {
        load.error = read.error;
        return load;
    }
    load.ok = true;
    load.content = raceFileContent(read.records);
    return load;
}

QStringList raceNumbers(const RaceFileContent& content)
{
    QStringList numbers;
    for (qsizetype i = 0; i < content.headers.size(); ++i)
        numbers.append(QString::number(i + 1));
    return numbers;
}

QString listLine(int position, const QString& owner, const QString& record)
{
    return PadField(QString::number(position), 3, ' ', true) + PadField(owner, 20, ' ', true) + ' ' +
           Mid(record, 1, 15) + ' ' + Mid(record, 16, 2) + ':' + Mid(record, 18, 2) + ':' +
           Mid(record, 20, 2) + ' ' + Mid(record, 22, 2) + '/' + Mid(record, 24, 2);
}

RaceResult computeRaceResult(const RaceFileContent& content, int raceIndex, OwnerLookup& owners)
{
    RaceResult result;
    if (raceIndex < 0 || raceIndex >= content.headers.size())
        return result;
    const QString& text = content.headers[raceIndex];
    RaceFields& f = result.fields;
    f.training = text.size() >= 49 && text.size() <= 55;
    f.comboText = QString::number(raceIndex + 1);
    fillHeaderFields(f, RaceHeaderRecord(text));
    result.reportFileName = reportFileNameFor(text);

    result.reportFileLines.append(PadField(QStringLiteral("Pos"), 10, ' ', true) +
                                  PadField(QStringLiteral("Owner Name"), 25, ' ', true) +
                                  PadField(QStringLiteral("Band Number"), 20, ' ', true) +
                                  PadField(QStringLiteral("Time"), 15, ' ', true) +
                                  PadField(QStringLiteral("Date"), 10, ' ', true));
    result.reportFileLines.append(f.training ? filledLine(QStringLiteral("-----TRAINING RACE"))
                                             : QString(80, '-'));

    // Days count from the race's own first dated clocking, so a later race of the file starts at day 1.
    std::optional<QDate> reference;
    int day = 1;
    int position = 0;
    const int year = Today::date().year();
    for (const auto& clocking : content.clockings) {
        if (clocking.race != raceIndex)
            continue;
        const QString& record = clocking.record;
        ++position;
        const QString owner = owners.ownerOf(Mid(record, 5, 4) + Mid(record, 9, 6)).value_or(kUnknownFlyer);
        if (Mid(record, 16, 10) != kNoArrival) {
            const auto month = twoDigits(Mid(record, 22, 2));
            const auto dayOfMonth = twoDigits(Mid(record, 24, 2));
            const QDate date = month && dayOfMonth ? QDate(year, *month, *dayOfMonth) : QDate();
            if (!date.isValid()) {
                result.reportFileLines.append(
                    filledLine(QStringLiteral("------Invalid date, or cannot span years.")));
            } else if (!reference) {
                reference = date;
            } else {
                const qint64 difference = reference->daysTo(date);
                if (difference > 0) {
                    day += int(difference);
                    reference = date;
                    result.reportFileLines.append(filledLine(QStringLiteral("------Day %1 birds").arg(day)));
                } else if (difference < 0) {
                    result.reportFileLines.append(
                        filledLine(QStringLiteral("------Invalid date, or cannot span years.")));
                }
            }
        }
        result.listLines.append(listLine(position, owner, record));
        result.reportFileLines.append(reportLine(position, owner, record));
    }
    return result;
}

QString reportFileNameFor(const QString& header)
{
    return QStringLiteral("RBM") + Mid(header, 15, 5) + '.' + Mid(header, 9, 3);
}

bool isSafeReportFileName(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1 || name.indexOf(QLatin1Char('.'), dot + 1) >= 0)
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (i == dot)
            continue;
        const bool asciiLetterOrDigit = c.unicode() < 0x80 && c.isLetterOrNumber();
        if (!asciiLetterOrDigit)
            return false;
    }
    return true;
}

QString invalidFileNameMessage(const QString& path)
{
    return QStringLiteral("Invalid file name - ") + QDir::toNativeSeparators(path);
}

ReportFileWrite writeReportFile(const QString& folder, const QString& name, const QStringList& lines)
{
    ReportFileWrite outcome;
    outcome.path = QDir(folder).filePath(name);
    if (!isSafeReportFileName(name)) {
        outcome.error = invalidFileNameMessage(outcome.path);
        return outcome;
    }
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toWindows1252(line) + "\r\n";
    QSaveFile file(outcome.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        outcome.error = QStringLiteral("The race report file %1 could not be written: %2")
                            .arg(QDir::toNativeSeparators(outcome.path), file.errorString());
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
