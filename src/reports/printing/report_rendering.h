#pragma once

#include "reports/report_document.h"

class QPrinter;

// Paints the lines on the printer's pages, starting a new page where a line would not fit. False with the
// reason when the printer cannot be drawn on.
bool renderReport(const std::vector<PrintedLine>& lines, QPrinter& printer, QString* error);
// The printed document as a PDF file.
bool writeReportPdf(const std::vector<PrintedLine>& lines, const QString& path, QString* error);
