#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct RaceFields;

// One line of a list entry as the preview and the printed report show it: position right-aligned in 4, ") ",
// owner, band, time and date cut from the 54-character list line.
QString reportLine(int listIndex, const QString& listLine);

// The text frmPreview holds, CR LF after each line; short reports are filled to one height.
QString previewText(const RaceFields& fields, const QStringList& listLines);

// One printed line: its font (Courier New, size, bold) and its left position in twips.
struct PrintedLine {
    QString text;
    int pointSize = 12;
    bool bold = false;
    int leftTwips = 100;
};
std::vector<PrintedLine> printedLines(const RaceFields& fields, const QStringList& listLines);

inline const QString kRaceResultsTitle = QStringLiteral("Corvex Race Results ");
inline const QString kTrainingResultsTitle = QStringLiteral("Corvex Training Results");
inline const QString kSignatureLine =
    QStringLiteral("Signed:            Flyer:          Club:       Clock Checked:");
