// corvex-cli race-files and report: the race file chooser's list, and a race's report as text or PDF.
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/full_program.h"
#include "database/database.h"
#include "reports/database_owner_lookup.h"
#include "reports/race_files.h"
#include "reports/race_result.h"
#include "reports/report_document.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void warn(const QString& text)
{
    std::fprintf(stderr, "corvex-cli: %s\n", text.toUtf8().constData());
}

int runRaceFiles(CliContext& context, const QStringList& arguments)
{
    if (arguments.size() > 1)
        return context.usageError(QStringLiteral("race-files takes at most one folder"));
    const QString folder =
        arguments.isEmpty() ? reportsRaceFolder(context.home, context.settings) : arguments.first();
    if (!QFileInfo(folder).isDir()) {
        warn(QStringLiteral("no folder %1").arg(QDir::toNativeSeparators(folder)));
        return ExitFailed;
    }
    const auto entries = listRaceFiles(folder);
    for (const RaceFileEntry& entry : entries)
        context.out << entry.listText() << '\n';
    context.out << filesListedText(int(entries.size())) << '\n';
    return ExitDone;
}

// A bare name that is not in the working folder is looked for in the race folder.
QString raceFilePath(CliContext& context, const QString& argument)
{
    if (QFileInfo::exists(argument) || argument.contains(QLatin1Char('/')) ||
        argument.contains(QLatin1Char('\\')))
        return argument;
    return QDir(reportsRaceFolder(context.home, context.settings)).filePath(argument);
}

int runReport(CliContext& context, QStringList arguments)
{
    const auto raceOption = takeOption(arguments, QStringLiteral("race"));
    const auto pdf = takeOption(arguments, QStringLiteral("pdf"));
    takeFlag(arguments, QStringLiteral("text"));
    if (arguments.size() != 1)
        return context.usageError(QStringLiteral("report takes one race file"));
    int race = 1;
    if (raceOption) {
        bool ok = false;
        race = raceOption->toInt(&ok);
        if (!ok || race < 1)
            return context.usageError(QStringLiteral("--race takes a race number from 1"));
    }
    if (pdf && !(fullProgram().canDrawPdf && fullProgram().canDrawPdf())) {
        warn(QStringLiteral("PDF output needs a run of its own: it is not available in a batch"));
        return ExitFailed;
    }

    const QString path = raceFilePath(context, arguments.first());
    const RaceFileLoad load = loadRaceFile(path);
    if (!load.ok) {
        warn(QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), load.error));
        return ExitFailed;
    }
    if (race > load.content.headers.size()) {
        warn(QStringLiteral("%1 holds %2 race(s), not race %3")
                 .arg(QDir::toNativeSeparators(path))
                 .arg(load.content.headers.size())
                 .arg(race));
        return ExitFailed;
    }

    DatabaseOwnerLookup owners;
    const QString databasePath = InitDatabasePath(context.home);
    const DbResult opened = owners.open(databasePath);
    if (!opened.ok())
        warn(QStringLiteral("the database %1 cannot be opened (%2); owners read as Unknown flyer")
                 .arg(QDir::toNativeSeparators(databasePath), opened.description));

    const RaceResult result = computeRaceResult(load.content, race - 1, owners);
    int status = ExitDone;
    const ReportFileWrite written =
        writeReportFile(QFileInfo(path).absolutePath(), result.reportFileName, result.reportFileLines);
    if (!written.ok) {
        context.dialogs.inform(written.error);
        status = ExitFailed;
    }

    if (pdf) {
        QString error;
        if (!fullProgram().writeReportPdf(result, *pdf, &error)) {
            warn(error);
            return ExitFailed;
        }
        return status;
    }
    context.out << previewText(result.fields, result.listLines);
    return status;
}

const CommandRegistration raceFilesCommand(QStringLiteral("race-files"), QStringLiteral("race-files [DIR]"),
                                           QStringLiteral("list the race files of the race folder (or DIR)"),
                                           runRaceFiles);
const CommandRegistration
    reportCommand(QStringLiteral("report"), QStringLiteral("report FILE [--race N] [--text | --pdf OUT.pdf]"),
                  QStringLiteral("show a race of a race file as the preview shows it, or print it to a PDF"),
                  [](CliContext& c, const QStringList& a) { return runReport(c, a); });

} // namespace
