// corvex-cli download-race and export-winspeed: the race data of the memory module into a race file or into
// the WinSpeed file of the liberation week.
#include "admin/admin_data.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "clocklink/clock_link.h"
#include "common/today.h"
#include "database/database.h"
#include "racedata/admin_winspeed_lookups.h"
#include "racedata/race_download.h"
#include "racedata/winspeed_export.h"
#include "reports/race_files.h"

#include <QDir>
#include <cstdio>

namespace {

void warn(const QString& text)
{
    std::fprintf(stderr, "corvex-cli: %s\n", text.toUtf8().constData());
}

std::optional<Dialogs::Answer> parseYesNo(const QString& text, bool allowCancel)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("yes"))
        return Dialogs::Answer::Yes;
    if (t == QLatin1String("no"))
        return Dialogs::Answer::No;
    if (allowCancel && t == QLatin1String("cancel"))
        return Dialogs::Answer::Cancel;
    return std::nullopt;
}

int runDownload(CliContext& context, QStringList arguments)
{
    std::optional<Dialogs::Answer> replace;
    if (const auto option = takeOption(arguments, QStringLiteral("replace"))) {
        replace = parseYesNo(*option, true);
        if (!replace)
            return context.usageError(QStringLiteral("--replace takes yes, no or cancel"));
    }
    if (!arguments.isEmpty())
        return context.usageError(
            QStringLiteral("download-race: unexpected argument '%1'").arg(arguments.first()));

    context.dialogs.answerer = [replace](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.title == kSaveRaceDataTitle)
            return replace;
        return std::nullopt;
    };
    const RaceDownloadResult result = downloadRaceData(context.clock(), context.dialogs, context.progress,
                                                       reportsRaceFolder(context.home, context.settings));
    if (result.outcome == RaceDownloadOutcome::NoClock)
        return context.failed(kNoClockAnswered + QStringLiteral("; no race data was saved"));
    if (result.outcome != RaceDownloadOutcome::Saved)
        return ExitFailed; // the download has said why
    context.out << QDir::toNativeSeparators(result.path) << '\n';
    return ExitDone;
}

int runExport(CliContext& context, QStringList arguments)
{
    const auto dateText = takeOption(arguments, QStringLiteral("date"));
    const auto file = takeOption(arguments, QStringLiteral("file"));
    const bool saveAnyway = takeFlag(arguments, QStringLiteral("save-anyway"));
    // Keeping the old file is the default: the other answer deletes its records.
    Dialogs::Answer keepOld = Dialogs::Answer::Yes;
    if (const auto option = takeOption(arguments, QStringLiteral("keep-old"))) {
        const auto answer = parseYesNo(*option, false);
        if (!answer)
            return context.usageError(QStringLiteral("--keep-old takes yes or no"));
        keepOld = *answer;
    }
    if (!arguments.isEmpty())
        return context.usageError(
            QStringLiteral("export-winspeed: unexpected argument '%1'").arg(arguments.first()));
    if (!dateText)
        return context.usageError(QStringLiteral("export-winspeed needs --date YYYY-MM-DD"));
    const QDate date = QDate::fromString(*dateText, Qt::ISODate);
    const QDate today = Today::date();
    if (!date.isValid())
        return context.usageError(QStringLiteral("--date takes a date as YYYY-MM-DD"));
    if (!isLiberationDateAccepted(date, today))
        return context.usageError(
            QStringLiteral("the liberation date must lie between %1 and %2")
                .arg(today.addYears(-1).toString(Qt::ISODate), today.toString(Qt::ISODate)));

    context.dialogs.presetInputs.insert(kLiberationDateTitle, date.toString(Qt::ISODate));
    if (file)
        context.dialogs.presetSavePath = QFileInfo(*file).absoluteFilePath();
    context.dialogs.answerer = [saveAnyway,
                                keepOld](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.title == kWinSpeedNoticeTitle)
            return saveAnyway ? Dialogs::Answer::Yes : Dialogs::Answer::No;
        if (box.title == kOldRaceDataTitle)
            return keepOld;
        if (box.title == kInvalidDataTypeTitle)
            return Dialogs::Answer::No;
        return std::nullopt;
    };

    Database database;
    const DbResult opened = context.openDatabase(database);
    if (!opened.ok())
        warn(QStringLiteral("the database %1 cannot be opened (%2); colours are written as UNKN")
                 .arg(QDir::toNativeSeparators(InitDatabasePath(context.home)), opened.description));
    const AdminData data(database);
    AdminWinSpeedLookups lookups(data);

    const WinSpeedResult result = exportWinSpeed(context.clock(), context.dialogs, context.progress, lookups,
                                                 reportsRaceFolder(context.home, context.settings));
    switch (result.outcome) {
    case WinSpeedOutcome::Saved:
        break;
    case WinSpeedOutcome::NoClock:
        return context.failed(kNoClockAnswered + QStringLiteral("; no race data was saved"));
    case WinSpeedOutcome::Declined:
        return context.failed(
            QStringLiteral("race data not saved: a race is numbered 0 (--save-anyway saves it)"));
    case WinSpeedOutcome::Cancelled:
        return context.failed(QStringLiteral("race data not saved: no liberation date or file was given"));
    default: // the export has said why
        return ExitFailed;
    }
    context.out << QDir::toNativeSeparators(result.path) << '\n';
    return ExitDone;
}

const CommandRegistration
    downloadCommand(QStringLiteral("download-race"),
                    QStringLiteral("download-race [--replace yes|no|cancel]"),
                    QStringLiteral("save the race data of the RBM as a race file in the race folder"),
                    [](CliContext& c, const QStringList& a) { return runDownload(c, a); });
const CommandRegistration exportCommand(
    QStringLiteral("export-winspeed"),
    QStringLiteral("export-winspeed --date YYYY-MM-DD [--file PATH] [--save-anyway] [--keep-old yes|no]"),
    QStringLiteral("append the race data of the RBM to the WinSpeed file of the liberation week"),
    [](CliContext& c, const QStringList& a) { return runExport(c, a); });
} // namespace
