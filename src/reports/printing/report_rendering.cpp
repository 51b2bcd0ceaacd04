#include "reports/printing/report_rendering.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

QFont reportFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

bool renderReport(const std::vector<PrintedLine>& lines, QPrinter& printer, QString* error)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("The printer %1 cannot be used.").arg(printer.printerName());
        return false;
    }
    const double dotsPerTwip = printer.resolution() / 1440.0;
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    int y = 0;
    for (const PrintedLine& line : lines) {
        const QFont font = reportFont(line.pointSize, line.bold);
        painter.setFont(font);
        const QFontMetrics metrics(font, &printer);
        if (y > 0 && y + metrics.height() > pageHeight) {
            if (!printer.newPage()) {
                if (error)
                    *error = QStringLiteral("The printer %1 could not start a new page.")
                                 .arg(printer.printerName());
                painter.end();
                return false;
            }
            y = 0;
        }
        if (!line.text.isEmpty())
            painter.drawText(int(line.leftTwips * dotsPerTwip), y + metrics.ascent(), line.text);
        y += metrics.height();
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("The printer %1 did not accept the report.").arg(printer.printerName());
        return false;
    }
    return true;
}

bool writeReportPdf(const std::vector<PrintedLine>& lines, const QString& path, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QFileInfo(path).completeBaseName());
    if (!renderReport(lines, printer, error))
        return false;
    if (!QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("The file %1 could not be written.").arg(path);
        return false;
    }
    return true;
}
