#include "reports/printing/report_printing.h"

#include "platform/dialogs.h"
#include "reports/race_result.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
std::optional<QPrinterInfo> systemPrinter()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull())
        return info;
    const QList<QPrinterInfo> available = QPrinterInfo::availablePrinters();
    if (available.isEmpty())
        return std::nullopt;
    return available.first();
}
} // namespace

std::optional<ReportPrinter::Description> SystemReportPrinter::defaultPrinter()
{
    const auto info = systemPrinter();
    if (!info)
        return std::nullopt;
    return Description{info->printerName(), info->location()};
}

bool SystemReportPrinter::print(const std::vector<PrintedLine>& lines, QString* error)
{
    const auto info = systemPrinter();
    if (!info) {
        if (error)
            *error = QStringLiteral("There is no printer on this computer.");
        return false;
    }
    QPrinter printer(*info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Corvex Race Report"));
    return renderReport(lines, printer, error);
}

QString printQuestion(const ReportPrinter::Description& printer)
{
    return QStringLiteral("Do you want to send this report to : \r\nPrinter : ") + printer.name +
           QStringLiteral("\r\nLocated : ") + printer.location;
}

QString noPrinterQuestion()
{
    return QStringLiteral("There is no printer on this computer.\r\n"
                          "Do you want to save this report as a PDF file instead?");
}

QString pdfSavedMessage(const QString& path)
{
    return QStringLiteral("The race report was saved as a PDF file:\r\n") + QDir::toNativeSeparators(path);
}

PrintOutcome saveReportPdf(const std::vector<PrintedLine>& lines, Dialogs& dialogs, ReportPrinter& printer,
                           const QString& pdfFolder, const QString& pdfName)
{
    const auto path =
        dialogs.saveFile(pdfFolder, pdfName, QStringLiteral("Race report as PDF (*.pdf)|*.pdf"));
    if (!path || path->isEmpty())
        return PrintOutcome::Declined;
    QString error;
    if (printer.writePdf(lines, *path, &error)) {
        dialogs.inform(pdfSavedMessage(*path), kPrintReportTitle, Dialogs::Icon::Information);
        return PrintOutcome::SavedPdf;
    }
    dialogs.inform(error, kPrintReportTitle, Dialogs::Icon::Exclamation);
    return PrintOutcome::Failed;
}

PrintOutcome printReport(const std::vector<PrintedLine>& lines, Dialogs& dialogs, ReportPrinter& printer,
                         const QString& pdfFolder, const QString& pdfName)
{
    const auto target = printer.defaultPrinter();
    const QString question = target ? printQuestion(*target) : noPrinterQuestion();
    if (dialogs.message(
            {question, kPrintReportTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::Question, {}}) !=
        Dialogs::Answer::Yes)
        return PrintOutcome::Declined;
    if (!target)
        return saveReportPdf(lines, dialogs, printer, pdfFolder, pdfName);
    QString error;
    if (printer.print(lines, &error))
        return PrintOutcome::Printed;
    dialogs.inform(error, kPrintReportTitle, Dialogs::Icon::Exclamation);
    return PrintOutcome::Failed;
}

PrintOutcome printRaceReport(const RaceFields& fields, const QStringList& listLines, Dialogs& dialogs,
                             ReportPrinter& printer, const QString& pdfFolder, const QString& pdfName)
{
    return printReport(printedLines(fields, listLines), dialogs, printer, pdfFolder, pdfName);
}
