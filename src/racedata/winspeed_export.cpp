#include "racedata/winspeed_export.h"

#include "clocklink/clock_link.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "common/today.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// Captions of the main window's menu entries that the no-races message names.
const QString kRaceInformationCaption = QStringLiteral("&Race Information");
const QString kSaveRaceDataCaption = QStringLiteral("Save Race Data (\"CVX\" style)");
const QString kRaceReportsCaption = QStringLiteral("Corvex Race Data Reports");
// The same refused answer from a script would otherwise be asked for forever.
constexpr int kMaxDateQuestions = 25;

QString racesPhrase(int n)
{
    return n == 1 ? QStringLiteral(" is 1 race ") : QStringLiteral(" are %1 races ").arg(n);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        QByteArray encoded = toWindows1252(line);
        for (char& c : encoded)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        bytes += encoded + "\r\n";
    }
    return bytes;
}

QString rangePrompt(const QDate& today)
{
    const QString format = QStringLiteral("MM-dd-yyyy");
    return QStringLiteral("Liberation Date Must be Between : ") + kCrLf + kCrLf +
           today.addYears(-1).toString(format) + QStringLiteral("   &   ") + today.toString(format) + kCrLf +
           kCrLf + kLiberationDatePrompt;
}

int syncToDisk(int handle)
{
#ifdef Q_OS_WIN
    return ::_commit(handle);
#else
    return ::fsync(handle);
#endif
}

// Appends and makes sure the bytes are on the disk; on failure the file is cut back to its old length.
bool appendDurably(const QString& path, const QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error = file.errorString();
        return false;
    }
    const qint64 oldSize = file.size();
    const bool written = file.write(bytes) == bytes.size() && file.flush() && syncToDisk(file.handle()) == 0;
    if (!written) {
        error = file.errorString();
        file.resize(oldSize);
        return false;
    }
    return true;
}

bool writeAnew(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
} // namespace

WinSpeedRaces sortWinSpeedRaces(const QStringList& records)
{
    WinSpeedRaces result;
    bool inRace = false;
    for (const QString& record : records) {
        switch (raceRecordKind(record)) {
        case RaceRecordKind::RaceHeader: {
            const QString text = record.size() == 72 ? record + QStringLiteral("00") : record;
            result.races.push_back({RaceHeaderRecord(text), {}});
            if (result.races.back().header.raceNumberValue() > 0)
                ++result.numberedRaces;
            inRace = true;
            break;
        }
        case RaceRecordKind::TrainingHeader:
            // Training clockings must not be counted as arrivals of the race before them.
            inRace = false;
            break;
        case RaceRecordKind::Clocking:
            if (inRace && !record.startsWith(QLatin1String("Unknown")))
                result.races.back().clockings.emplace_back(record);
            break;
        case RaceRecordKind::Other:
            break;
        }
    }
    return result;
}

int winSpeedWeek(const QDate& date)
{
    const QDate first(date.year(), 1, 1);
    return (date.dayOfYear() - 1 + first.dayOfWeek() - 1) / 7 + 1;
}

QString winSpeedFileName(const QDate& liberationDate)
{
    return QStringLiteral("W00000") + twoDigits(winSpeedWeek(liberationDate)) + QStringLiteral(".D00");
}

std::optional<QDate> parseLiberationDate(const QString& text, const QDate& today)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;

    static const QRegularExpression iso(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    if (const auto m = iso.match(t); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }

    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})[-/. ](\\d{1,2})(?:[-/. ](\\d{2}|\\d{4}))?$"));
    if (const auto m = numeric.match(t); m.hasMatch()) {
        int year = today.year();
        if (!m.captured(3).isEmpty())
            year = m.captured(3).size() == 2 ? expandTwoDigitYear(m.captured(3).toInt(), today)
                                             : m.captured(3).toInt();
        const int first = m.captured(1).toInt();
        const int second = m.captured(2).toInt();
        // Month first; a first number that cannot be a month is read as the day.
        QDate date(year, first, second);
        if (!date.isValid())
            date = QDate(year, second, first);
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }

    static const QStringList withYear = {QStringLiteral("MMM d yyyy"),  QStringLiteral("MMMM d yyyy"),
                                         QStringLiteral("MMM d, yyyy"), QStringLiteral("MMMM d, yyyy"),
                                         QStringLiteral("d MMM yyyy"),  QStringLiteral("d MMMM yyyy")};
    for (const QString& format : withYear) {
        const QDate date = QDate::fromString(t, format);
        if (date.isValid())
            return date;
    }
    static const QStringList withoutYear = {QStringLiteral("MMM d"), QStringLiteral("MMMM d"),
                                            QStringLiteral("d MMM"), QStringLiteral("d MMMM")};
    for (const QString& format : withoutYear) {
        const QDate parsed = QDate::fromString(t + QStringLiteral(" 2000"), format + QStringLiteral(" yyyy"));
        if (parsed.isValid()) {
            const QDate date(today.year(), parsed.month(), parsed.day());
            if (date.isValid())
                return date;
        }
    }
    return std::nullopt;
}

bool isLiberationDateAccepted(const QDate& date, const QDate& today)
{
    if (!date.isValid())
        return false;
    const qint64 days = date.daysTo(today);
    return days >= 0 && days <= 366;
}

QString formatVersionFigure(double value)
{
    const qint64 hundredths = qRound64(value * 100);
    const qint64 whole = hundredths / 100;
    const qint64 fraction = std::abs(hundredths % 100);
    QString text = (hundredths < 0 && whole == 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    if (fraction == 0)
        return text;
    QString decimals = twoDigits(static_cast<int>(fraction));
    if (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    return text + QLatin1Char('.') + decimals;
}

QString winSpeedVersionStamp(double rbmVersion, double rbmSecondVersion)
{
    return QStringLiteral("-%1.%2.%3-")
               .arg(CORVEX_VERSION_MAJOR)
               .arg(CORVEX_VERSION_MINOR)
               .arg(CORVEX_VERSION_PATCH) +
           formatVersionFigure(rbmVersion) + QLatin1Char('-') + formatVersionFigure(rbmSecondVersion);
}

namespace {
QString clubAndFlyer(const RaceHeaderRecord& header)
{
    return QLatin1Char('0') + header.club() + header.flyer();
}
} // namespace

QString winSpeedRecord0(const QDate& liberationDate)
{
    return QLatin1Char('0') + liberationDate.toString(QStringLiteral("ddMMyy"));
}

QString winSpeedRecord1(const RaceHeaderRecord& header, int birds, const QString& flyerName,
                        const QString& versionStamp)
{
    return QLatin1Char('1') + clubAndFlyer(header) +
           PadField(QString::number(birds), 3, QLatin1Char('0'), false) +
           PadField(flyerName, 20, QLatin1Char(' '), true) + Mid(header.text(), 56) + versionStamp;
}

QString winSpeedRecord2(const RaceHeaderRecord& header)
{
    const QString& h = header.text();
    return QLatin1Char('2') + clubAndFlyer(header) + QLatin1Char('0') + Mid(h, 22, 2) + Mid(h, 20, 2) +
           Mid(h, 26, 6) + Mid(h, 46, 2) + Mid(h, 44, 2) + Mid(h, 38, 6) + Mid(h, 50, 6);
}

QString winSpeedRecord3(const RaceHeaderRecord& header, const ClockingRecord& clocking, const QString& colour)
{
    const bool clocked = clocking.arrivalTime() != QLatin1String("000000");
    return QLatin1Char('3') + clubAndFlyer(header) + clocking.band() + clocking.bandSuffix() +
           PadField(QString::number(header.raceNumberValue()), 2, QLatin1Char('0'), false) +
           (clocked ? QLatin1Char('1') : QLatin1Char('0')) + clocking.arrivalDay() + clocking.arrivalMonth() +
           clocking.arrivalTime() + PadField(clocking.finalCharacter(), 28, QLatin1Char('0'), true) + colour;
}

std::optional<QDate> winSpeedFileDate(const QByteArray& head)
{
    const QStringList lines = parseRaceFile(head);
    if (lines.isEmpty())
        return std::nullopt;
    const QString item = lines.first().section(QLatin1Char(','), 0, 0).trimmed();
    if (!item.startsWith(QLatin1Char('0')) || item.size() < 7)
        return std::nullopt;
    const QDate date = dateFromParts(Mid(item, 4, 2), Mid(item, 2, 2), Mid(item, 6, 2));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

QString oldWinSpeedPath(const QString& path, const QDate& fileDate)
{
    const QString mark = twoDigits(fileDate.year() % 100) + QLatin1Char('O');
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return path + QLatin1Char('.') + mark;
    return path.left(path.size() - suffix.size()) + mark;
}

namespace {
class Export {
public:
    Export(ClockLink& clock, Dialogs& dialogs, Progress& progress, WinSpeedLookups& lookups)
        : m_clock(clock), m_dialogs(dialogs), m_progress(progress), m_lookups(lookups)
    {
    }

    WinSpeedResult run(const QString& raceFolder, const ShowClockStatusHook& showClockStatus);

private:
    enum class FileMode { Create, Append };

    WinSpeedResult end(WinSpeedOutcome outcome, const QString& message = {});
    std::optional<QDate> askLiberationDate(const QString& proposed);
    std::optional<FileMode> prepareFile(const QString& path, const QDate& liberationDate);
    void warnNotFound(const QString& description, const RaceHeaderRecord& header);

    ClockLink& m_clock;
    Dialogs& m_dialogs;
    Progress& m_progress;
    WinSpeedLookups& m_lookups;
    QString m_rbmName;
    QString m_lastReportedFlyer;
    bool m_unknownColours = false;
};

WinSpeedResult Export::end(WinSpeedOutcome outcome, const QString& message)
{
    m_progress.close();
    if (!message.isEmpty())
        m_dialogs.inform(message, kApplicationTitle);
    return {outcome, {}, 0};
}

std::optional<QDate> Export::askLiberationDate(const QString& proposed)
{
    const QDate today = Today::date();
    QString prompt = kLiberationDatePrompt;
    for (int question = 0; question < kMaxDateQuestions; ++question) {
        const auto answer = m_dialogs.input(prompt, kLiberationDateTitle, proposed);
        const auto date = answer ? parseLiberationDate(*answer, today) : std::nullopt;
        if (!date) {
            const auto again = m_dialogs.message({QStringLiteral("Do you wish to try again ? "),
                                                  kInvalidDataTypeTitle, Dialogs::Buttons::YesNo,
                                                  Dialogs::Icon::Exclamation, Dialogs::Answer::Yes});
            if (again != Dialogs::Answer::Yes)
                break;
            continue;
        }
        if (isLiberationDateAccepted(*date, today))
            return date;
        m_dialogs.beep();
        prompt = rangePrompt(today);
    }
    return std::nullopt;
}

std::optional<Export::FileMode> Export::prepareFile(const QString& path, const QDate& liberationDate)
{
    const QFileInfo info(path);
    // An empty file holds nothing to keep.
    if (!info.exists() || (info.isFile() && info.size() == 0))
        return FileMode::Create;

    QFile file(path);
    const QString notSaved =
        QStringLiteral("Error opening file") + kCrLf + QStringLiteral("Race data not saved");
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.inform(notSaved, kApplicationTitle);
        return std::nullopt;
    }
    const auto fileDate = winSpeedFileDate(file.read(4096));
    file.close();
    if (!fileDate) {
        m_dialogs.inform(notSaved, kApplicationTitle);
        return std::nullopt;
    }
    if (fileDate->daysTo(liberationDate) <= 350)
        return FileMode::Append;

    const QString shown = fileDate->toString(QStringLiteral("MM/dd/yy"));
    const auto keep = m_dialogs.message(
        {QStringLiteral("Do you wish to save") + kCrLf + QStringLiteral("the race data from") + kCrLf +
             shown + QLatin1Char('?'),
         kOldRaceDataTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::Answer::Yes});
    if (keep == Dialogs::Answer::Yes) {
        const QString oldPath = oldWinSpeedPath(path, *fileDate);
        // Never overwrite an older archive of the same week.
        if (QFileInfo::exists(oldPath) || !QFile::rename(path, oldPath)) {
            m_dialogs.inform(QStringLiteral("Cannot rename ") + QDir::toNativeSeparators(path) +
                                 QStringLiteral(" to ") + QDir::toNativeSeparators(oldPath) + kCrLf +
                                 QStringLiteral("Race data not saved"),
                             kApplicationTitle);
            return std::nullopt;
        }
        m_dialogs.inform(QStringLiteral("Race data from ") + shown + kCrLf + QString(15, QLatin1Char(' ')) +
                             QStringLiteral("saved in") + kCrLf + QDir::toNativeSeparators(oldPath),
                         kOldRaceDataTitle, Dialogs::Icon::Exclamation);
    }
    return FileMode::Create;
}

void Export::warnNotFound(const QString& description, const RaceHeaderRecord& header)
{
    m_unknownColours = true;
    const QString flyerKey = clubAndFlyer(header);
    if (flyerKey == m_lastReportedFlyer)
        return;
    m_lastReportedFlyer = flyerKey;
    const QString club = QLatin1Char('0') + header.club();
    m_dialogs.inform(description + kCrLf + QStringLiteral("Club #: ") + club + QStringLiteral(" Flyer #: ") +
                         header.flyer() + QLatin1Char(' ') + m_rbmName + QStringLiteral(" - Not found! ") +
                         kCrLf + kCrLf + QStringLiteral("The DataBase on this computer might not contain") +
                         kCrLf + QStringLiteral("correct color information.") + kCrLf + kCrLf +
                         QStringLiteral("Color from this race file should not be transferred to WinSpeed."),
                     kApplicationTitle);
}

WinSpeedResult Export::run(const QString& raceFolder, const ShowClockStatusHook& showClockStatus)
{
    const RaceSeries series = readRaceSeries(m_clock, m_dialogs, m_progress, showClockStatus);
    switch (series.end) {
    case RaceSeriesEnd::Complete:
        break;
    case RaceSeriesEnd::NoClock:
        return {WinSpeedOutcome::NoClock, {}, 0};
    case RaceSeriesEnd::NoRbm:
        return {WinSpeedOutcome::NoRbm, {}, 0};
    case RaceSeriesEnd::ExchangeFailed:
    case RaceSeriesEnd::Runaway:
        return {WinSpeedOutcome::ExchangeFailed, {}, 0};
    }
    if (m_clock.exchange.port().isOpen())
        m_clock.exchange.closePort();

    if (series.records.size() < 2)
        return end(WinSpeedOutcome::NoRaceData, kNoRaceDataInRbm);

    const WinSpeedRaces sorted = sortWinSpeedRaces(series.records);
    const int headers = static_cast<int>(sorted.races.size());
    if (headers == 0)
        return end(WinSpeedOutcome::NoRaces,
                   QStringLiteral("No races to save.  Any clockings are training data, only. ") + kCrLf +
                       QStringLiteral("Click on '") + kRaceInformationCaption + QStringLiteral("' -> '") +
                       kSaveRaceDataCaption + QLatin1Char('\'') + kCrLf + QStringLiteral("Then use '") +
                       kRaceReportsCaption + QStringLiteral("' to see available training data."));

    if (headers != sorted.numberedRaces) {
        const auto answer = m_dialogs.message(
            {QStringLiteral("There") + racesPhrase(headers) + QStringLiteral("in this clock") + kCrLf +
                 kCrLf + QStringLiteral("There") + racesPhrase(headers - sorted.numberedRaces) +
                 QStringLiteral("WinSpeed might not read") + kCrLf + kCrLf +
                 QStringLiteral("Do you wish to save the clock data?"),
             kWinSpeedNoticeTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, Dialogs::Answer::No});
        if (answer != Dialogs::Answer::Yes)
            return end(WinSpeedOutcome::Declined);
    }

    const auto liberationDate = askLiberationDate(sorted.races.front().header.raceDate());
    if (!liberationDate)
        return end(WinSpeedOutcome::Cancelled);

    if (!QDir().mkpath(raceFolder))
        return end(WinSpeedOutcome::FileError,
                   QStringLiteral("The folder ") + displayedRaceFolder(raceFolder) +
                       QStringLiteral(" cannot be created.") + kCrLf + QStringLiteral("Race data not saved"));
    const auto chosen = m_dialogs.saveFile(raceFolder, winSpeedFileName(*liberationDate), kWinSpeedFilter);
    if (!chosen || chosen->isEmpty())
        return end(WinSpeedOutcome::Cancelled);
    const QString path = *chosen;

    const auto mode = prepareFile(path, *liberationDate);
    if (!mode)
        return end(WinSpeedOutcome::FileRefused);

    // A fresh series: one left open by an earlier read would resume after its S3 record.
    m_clock.flags.admin = false;
    m_rbmName = ReadAdminHeaderName(m_clock.exchange, m_clock.flags, m_progress, &m_clock.lastAdminBlock);
    m_progress.show();
    m_progress.repaint();

    const QString stamp =
        winSpeedVersionStamp(m_clock.identity.rbmVersion, m_clock.identity.rbmSecondVersion);
    QStringList lines{winSpeedRecord0(*liberationDate)};
    int written = 0;
    for (const WinSpeedRace& race : sorted.races) {
        const RaceHeaderRecord& header = race.header;
        const WinSpeedLookup flyer =
            m_lookups.flyerName(leadingNumber(header.club()), leadingNumber(header.flyer()));
        if (!flyer.value)
            warnNotFound(flyer.error.isEmpty() ? QStringLiteral("No current record.") : flyer.error, header);
        // The module's own name wins; the database's only stands in when the module gave none.
        const QString name = m_rbmName.isEmpty() ? flyer.value.value_or(QString()) : m_rbmName;
        m_progress.setLowerLine(name);
        m_progress.repaint();

        lines << winSpeedRecord1(header, static_cast<int>(race.clockings.size()), name, stamp)
              << winSpeedRecord2(header);
        for (const ClockingRecord& clocking : race.clockings) {
            QString colour;
            if (!m_unknownColours) {
                const WinSpeedLookup found =
                    m_lookups.birdColour(clocking.clubLetters(), clocking.bandNumber());
                if (found.value)
                    colour = *found.value;
                else
                    warnNotFound(found.error.isEmpty() ? QStringLiteral("No current record.") : found.error,
                                 header);
            }
            if (m_unknownColours)
                colour = QStringLiteral("UNKN");
            lines << winSpeedRecord3(header, clocking, colour);
            ++written;
            m_progress.setLowerLine(QString::number(written) + QLatin1Char(' ') + kRecordsWritten);
            m_progress.repaint();
        }
    }

    QString error;
    const QByteArray bytes = fileBytes(lines);
    const bool ok =
        *mode == FileMode::Append ? appendDurably(path, bytes, error) : writeAnew(path, bytes, error);
    if (!ok)
        return end(WinSpeedOutcome::FileError, error + QLatin1Char('-') + QDir::toNativeSeparators(path));

    m_dialogs.inform(kRaceDataCopied, kApplicationTitle);
    m_progress.close();
    m_clock.exchange.closePort();
    return {WinSpeedOutcome::Saved, path, written};
}
} // namespace

WinSpeedResult exportWinSpeed(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                              WinSpeedLookups& lookups, const QString& raceFolder,
                              const ShowClockStatusHook& showClockStatus)
{
    return Export(clock, dialogs, progress, lookups).run(raceFolder, showClockStatus);
}
