// What corvex-cli-full adds to the commands both programs share: a GUI application for the runs that draw
// documents, and the report's PDF.
#include "cli/full_program.h"

#include "reports/printing/report_rendering.h"
#include "reports/race_result.h"
#include "results/result_document.h"

#include <QGuiApplication>

namespace {

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
    if (drawsDocuments(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool canDrawPdf()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool writePdf(const RaceResult& result, const QString& file, QString* error)
{
    return writeReportPdf(printedLines(result.fields, result.listLines), file, error);
}

// The same pages the results window prints.
bool writeResultPdf(const FiguredRace& result, const QString& file, QString* error)
{
    return writeReportPdf(resultPrintedLines(result), file, error);
}

const bool registered = [] {
    fullProgram() = {makeApplication, writePdf, writeResultPdf, canDrawPdf};
    return true;
}();

} // namespace
