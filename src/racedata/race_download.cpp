#include "racedata/race_download.h"

#include "clocklink/clock_link.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "racedata/race_records.h"

#include <QDir>
#include <QFileInfo>

namespace {
void inform(Dialogs& dialogs, const QString& text)
{
    dialogs.inform(text, kApplicationTitle);
}

RaceSeries endSeries(RaceSeriesEnd end, Progress& progress, Dialogs& dialogs, const QString& message)
{
    progress.close();
    inform(dialogs, message);
    return {end, {}};
}

RaceDownloadResult fileFailure(RaceDownloadOutcome outcome, Progress& progress, Dialogs& dialogs,
                               const QString& message)
{
    progress.close();
    inform(dialogs, message);
    return {outcome, {}, 0};
}
} // namespace

QString displayedRaceFolder(const QString& raceFolder)
{
    QString folder = QDir::toNativeSeparators(QDir::cleanPath(raceFolder));
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

RaceSeries readRaceSeries(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                          const ShowClockStatusHook& showClockStatus)
{
    clock.identity.rbmSerial.clear();
    clock.exchange.setAddressPrefix(kRbmAddress);
    clock.queryVersion();
    if (!clock.identity.connected())
        return {RaceSeriesEnd::NoClock, {}};
    if (showClockStatus)
        showClockStatus();

    progress.show();
    progress.repaint();
    // A series left unfinished by an earlier failure would otherwise resume in its middle.
    clock.flags.race = false;

    RaceSeries series;
    SeriesBound bound(module_capacity::kRaceRecords);
    for (;;) {
        const QByteArray block = ReadNextRaceBlock(clock.exchange, clock.flags);
        if (block == "E2")
            return endSeries(RaceSeriesEnd::NoRbm, progress, dialogs, kNoRbmInserted);
        if (block.isEmpty() || isFailureCode(block))
            return endSeries(RaceSeriesEnd::ExchangeFailed, progress, dialogs, kRaceDataNotSaved);
        progress.repaint();
        if (block == control::text(control::EOT))
            break;
        if (!bound.admit(block)) {
            endBlockSeries(clock.exchange, clock.flags.race);
            return endSeries(RaceSeriesEnd::Runaway, progress, dialogs, kRaceSeriesNotEnded);
        }
        if (block.size() > 1) {
            series.records << decodeRecord(block);
            progress.setLowerLine(QString::number(series.records.size()) + QLatin1Char(' ') +
                                  kBlocksTransferred);
            progress.repaint();
        }
    }
    return series;
}

RaceDownloadResult downloadRaceData(ClockLink& clock, Dialogs& dialogs, Progress& progress,
                                    const QString& raceFolder, const ShowClockStatusHook& showClockStatus)
{
    const RaceSeries series = readRaceSeries(clock, dialogs, progress, showClockStatus);
    switch (series.end) {
    case RaceSeriesEnd::Complete:
        break;
    case RaceSeriesEnd::NoClock:
        return {RaceDownloadOutcome::NoClock, {}, 0};
    case RaceSeriesEnd::NoRbm:
        return {RaceDownloadOutcome::NoRbm, {}, 0};
    case RaceSeriesEnd::ExchangeFailed:
    case RaceSeriesEnd::Runaway:
        return {RaceDownloadOutcome::ExchangeFailed, {}, 0};
    }

    const QStringList& records = series.records;
    if (records.size() < 2)
        return fileFailure(RaceDownloadOutcome::NoRaceData, progress, dialogs, kNoRaceDataInRbm);

    const QString shownFolder = displayedRaceFolder(raceFolder);
    const QString& first = records.first();
    QString name = raceFileName(first);
    if (!isSafeRaceFileName(name))
        return fileFailure(RaceDownloadOutcome::InvalidFileName, progress, dialogs,
                           QStringLiteral("Invalid file name - ") + shownFolder + Mid(first, 1, 8) +
                               QLatin1Char('.') + Mid(first, 9, 3));

    const QDir folder(raceFolder);
    if (!QDir().mkpath(raceFolder))
        return fileFailure(RaceDownloadOutcome::FileError, progress, dialogs,
                           kRaceDataNotSaved + QStringLiteral("\r\n\r\nThe folder ") + shownFolder +
                               QStringLiteral(" cannot be created."));

    if (QFileInfo::exists(folder.filePath(name))) {
        const Dialogs::Answer answer =
            dialogs.message({kReplaceRaceFileQuestion, kSaveRaceDataTitle, Dialogs::Buttons::YesNoCancel,
                             Dialogs::Icon::Question, Dialogs::Answer::Cancel});
        if (answer == Dialogs::Answer::Cancel) {
            inform(dialogs, kRaceDataNotSaved);
            progress.close();
            return {RaceDownloadOutcome::Cancelled, {}, 0};
        }
        if (answer == Dialogs::Answer::No) {
            name = alternativeRaceFileName(first);
            if (!isSafeRaceFileName(name))
                return fileFailure(RaceDownloadOutcome::InvalidFileName, progress, dialogs,
                                   QStringLiteral("Invalid file name - ") + shownFolder + Mid(first, 20, 6) +
                                       Mid(first, 7, 2) + QLatin1Char('.') + Mid(first, 9, 3));
        }
    }

    const QString path = folder.filePath(name);
    const RaceFileWrite written = writeRaceFile(path, records);
    if (!written.ok)
        return fileFailure(RaceDownloadOutcome::FileError, progress, dialogs,
                           kRaceDataNotSaved + QStringLiteral("\r\n\r\n") + QDir::toNativeSeparators(path) +
                               QStringLiteral(": ") + written.error);

    inform(dialogs, QStringLiteral("Race data file ") + name + QStringLiteral(" saved to ") + shownFolder);
    progress.close();
    clock.exchange.closePort();
    return {RaceDownloadOutcome::Saved, path, static_cast<int>(records.size())};
}
