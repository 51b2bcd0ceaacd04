#pragma once

#include "reports/report_document.h"
#include "results/race_figures.h"

#include <QString>
#include <vector>

// The result as the printer and the PDF file get it: the lines of resultText, the title in bold, in a size
// at which the widest table line fits a portrait page.
std::vector<PrintedLine> resultPrintedLines(const FiguredRace& race);

// The result saved for the club's website: a CSV file when the name ends in ".csv", else the HTML page.
// False with the reason when the file cannot be written.
bool writeResultFile(const FiguredRace& race, const QString& path, QString* error);
