#include "reports/report_document.h"

#include "common/pad_field.h"
#include "reports/race_result.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kUnderscores(62, QLatin1Char('_'));

// The memory module number with at least six digits, as the "000000" format shows it.
QString moduleNumber(const QString& serial)
{
    bool numeric = !serial.isEmpty();
    for (QChar c : serial)
        numeric = numeric && c.isDigit() && c.unicode() < 0x80;
    return numeric ? serial.rightJustified(6, QLatin1Char('0')) : serial;
}

QString raceLine(const RaceFields& f)
{
    return QStringLiteral("Race No.: ") + f.comboText + QStringLiteral("  Date: ") + f.raceDate +
           QStringLiteral("  Liberation Point: ") + f.liberationPoint;
}

QString concourseLine(const RaceFields& f)
{
    return QStringLiteral("Concourse: ") + f.concourse + QStringLiteral("   Combine: ") + f.combine +
           QStringLiteral("  Club: ") + f.clubNo + QStringLiteral("  Flyer: ") + f.flyerNo;
}

QString moduleLine(const RaceFields& f)
{
    return QStringLiteral("Memory Module: ") + moduleNumber(f.rbmSerial) +
           QStringLiteral("   Clock Set Time: ") + f.clockStart;
}

} // namespace

QString reportLine(int listIndex, const QString& listLine)
{
    return PadField(QString::number(listIndex + 1), 4, ' ', false) + QStringLiteral(") ") +
           PadField(Mid(listLine, 4, 20), 22, ' ', true) + PadField(Mid(listLine, 25, 14), 15, ' ', true) +
           PadField(Mid(listLine, 41, 8), 9, ' ', true) + PadField(Mid(listLine, 50, 5), 6, ' ', true);
}

QString previewText(const RaceFields& f, const QStringList& listLines)
{
    const QString indent(2, QLatin1Char(' '));
    const QString clockIndent(26, QLatin1Char(' '));
    QString text;
    text += QString(25, QLatin1Char(' ')) + kRaceResultsTitle + kCrLf;
    text += QString(28, QLatin1Char(' ')) + f.raceNumber + kCrLf;
    text += indent + kUnderscores + kCrLf + kCrLf;
    text += indent + raceLine(f) + kCrLf + kCrLf;
    text += indent + concourseLine(f) + kCrLf + kCrLf;
    text += indent + moduleLine(f) + kCrLf;
    text += clockIndent + QStringLiteral("Verified Time : ") + f.clockStop + kCrLf;
    text += clockIndent + QStringLiteral("Clock Time    : ") + f.knockOff + kCrLf;
    text += clockIndent + QStringLiteral("Deviation Time: ") + f.devAmount + ' ' + f.devLabel + kCrLf;
    text += indent + kUnderscores + kCrLf + kCrLf;
    text += indent + QStringLiteral("Pos  Flyer Name            Band Number    Time     Date       ") +
            kCrLf + kCrLf;
    for (qsizetype i = 0; i < listLines.size(); ++i)
        text += reportLine(int(i), listLines[i]) + kCrLf;
    for (qsizetype i = listLines.size(); i < 29; ++i)
        text += kCrLf;
    return text;
}

std::vector<PrintedLine> printedLines(const RaceFields& f, const QStringList& listLines)
{
    std::vector<PrintedLine> lines;
    const bool training = f.raceNumber == kTraining;
    lines.push_back({training ? kTrainingResultsTitle : kRaceResultsTitle, 24, true, 220});
    lines.push_back({kUnderscores, 12, true, 100});
    lines.push_back({QString(), 12, true, 100});
    const auto add = [&lines](const QString& text) { lines.push_back({text, 12, false, 100}); };
    const QString clockIndent(24, QLatin1Char(' '));
    add(raceLine(f));
    add({});
    add(concourseLine(f));
    add({});
    add(moduleLine(f));
    add(clockIndent + QStringLiteral("Verified Time : ") + f.clockStop);
    add(clockIndent + QStringLiteral("Clock Time    : ") + f.knockOff);
    add(clockIndent + QStringLiteral("Deviation Time: ") + f.devAmount + ' ' + f.devLabel);
    add(kUnderscores);
    add({});
    add(QStringLiteral("Pos   Flyer Name            Band Number     Time    Date"));
    add({});
    for (qsizetype i = 0; i < listLines.size(); ++i)
        add(reportLine(int(i), listLines[i]));
    add({});
    add(kUnderscores);
    add({});
    add(kSignatureLine);
    return lines;
}
