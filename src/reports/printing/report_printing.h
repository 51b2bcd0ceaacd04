#pragma once

#include "reports/printing/report_rendering.h"
#include "reports/report_document.h"

#include <QString>
#include <optional>

class Dialogs;

// The printer the report goes to: the system's default printer in the program, a stand-in in tests.
class ReportPrinter {
public:
    struct Description {
        QString name;
        QString location;
    };
    virtual ~ReportPrinter() = default;
    // Nothing when the machine has no printer.
    virtual std::optional<Description> defaultPrinter() = 0;
    virtual bool print(const std::vector<PrintedLine>& lines, QString* error) = 0;
    virtual bool writePdf(const std::vector<PrintedLine>& lines, const QString& path, QString* error)
    {
        return writeReportPdf(lines, path, error);
    }
};

// The default printer (else the first installed one) through Qt's print support.
class SystemReportPrinter : public ReportPrinter {
public:
    std::optional<Description> defaultPrinter() override;
    bool print(const std::vector<PrintedLine>& lines, QString* error) override;
};

enum class PrintOutcome { Printed, SavedPdf, Declined, Failed };

inline const QString kPrintReportTitle = QStringLiteral("Print Report");
QString printQuestion(const ReportPrinter::Description& printer);
QString noPrinterQuestion();
// The confirmation after the report was saved as a PDF file at path.
QString pdfSavedMessage(const QString& path);

// Asks for the file (pdfName in pdfFolder), writes the lines into it and confirms it.
PrintOutcome saveReportPdf(const std::vector<PrintedLine>& lines, Dialogs& dialogs, ReportPrinter& printer,
                           const QString& pdfFolder, const QString& pdfName);
// Asks, then prints the lines on the printer; without a printer offers to save a PDF in pdfFolder.
PrintOutcome printReport(const std::vector<PrintedLine>& lines, Dialogs& dialogs, ReportPrinter& printer,
                         const QString& pdfFolder, const QString& pdfName);
// cmdPrinter of the race report.
PrintOutcome printRaceReport(const RaceFields& fields, const QStringList& listLines, Dialogs& dialogs,
                             ReportPrinter& printer, const QString& pdfFolder, const QString& pdfName);
