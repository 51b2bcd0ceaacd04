// corvex-cli results: one race figured from the race folder and the liberation point stored for it.
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "cli/full_program.h"
#include "reports/race_files.h"
#include "results/result_publication.h"
#include "results/stored_race.h"
#include "settings/result_settings.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString kUsage =
    QStringLiteral("results --race NN --date MM/DD [--folder DIR] [--csv | --html OUT.html | --pdf OUT.pdf]");

bool writeFile(const QString& path, const QString& text, QString& error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    error = QStringLiteral("The file %1 could not be written: %2").arg(path, file.errorString());
    return false;
}

int runResults(CliContext& context, QStringList arguments)
{
    const auto race = takeOption(arguments, QStringLiteral("race"));
    const auto date = takeOption(arguments, QStringLiteral("date"));
    const auto folder = takeOption(arguments, QStringLiteral("folder"));
    const bool csv = takeFlag(arguments, QStringLiteral("csv"));
    const auto html = takeOption(arguments, QStringLiteral("html"));
    const auto pdf = takeOption(arguments, QStringLiteral("pdf"));
    if (!arguments.isEmpty() || !race || !date || int(csv) + int(bool(html)) + int(bool(pdf)) > 1)
        return context.usageError(QStringLiteral("usage: ") + kUsage);
    static const QRegularExpression raceNumber(QStringLiteral("^\\d{1,2}$"));
    static const QRegularExpression raceDate(QStringLiteral("^\\d\\d/\\d\\d$"));
    if (!raceNumber.match(*race).hasMatch())
        return context.usageError(QStringLiteral("--race takes a race number from 0 to 99"));
    if (!raceDate.match(*date).hasMatch())
        return context.usageError(QStringLiteral("--date takes the race date as MM/DD, e.g. 06/14"));
    if ((html && html->isEmpty()) || (pdf && pdf->isEmpty()))
        return context.usageError(QStringLiteral("--html and --pdf take the file to write"));
    if (pdf && !(fullProgram().canDrawPdf && fullProgram().canDrawPdf()))
        return context.failed(
            QStringLiteral("PDF output needs a run of its own: it is not available in a batch"));

    Database* database = context.database();
    if (!database)
        return ExitFailed;
    const FiguredRace result = figureStoredRace(
        AdminData(*database), folder.value_or(reportsRaceFolder(context.home, context.settings)),
        race->toInt(), *date, readResultSettings(context.settings));
    if (!result.error.isEmpty())
        return context.failed(result.error);

    QString error;
    if (html && !writeFile(*html, resultHtml(result), error))
        return context.failed(error);
    if (pdf && !fullProgram().writeResultPdf(result, *pdf, &error))
        return context.failed(error);
    if (csv)
        context.out << resultCsv(result);
    else if (!html && !pdf)
        context.out << resultText(result);
    return ExitDone;
}

const CommandRegistration resultsCommand(
    QStringLiteral("results"), kUsage,
    QStringLiteral(
        "figure a race: distances, corrected arrivals and velocities, ranked (text, CSV, HTML, PDF)"),
    [](CliContext& c, const QStringList& a) { return runResults(c, a); });

} // namespace
