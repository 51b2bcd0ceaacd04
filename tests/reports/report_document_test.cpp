#include "report_fixture.h"
#include "reports/printing/report_rendering.h"
#include "reports/race_result.h"
#include "reports/report_document.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

RaceResult threeBirds()
{
    MapOwners owners;
    owners.owners.insert(" ABC012345", "John Smith");
    owners.owners.insert(" ABC000777", "Mary O'Neil");
    const RaceFileContent content = raceFileContent(
        QStringList{raceHeader("051208080000", "051208080003"), clocking("012345", "083015", "0512"),
                    clocking("000777", "084501", "0512"), clocking("104010", "070000", "0513")});
    return computeRaceResult(content, 0, owners);
}

RaceResult birds(int count, const QString& header = raceHeader())
{
    QStringList records{header};
    for (int i = 0; i < count; ++i)
        records << clocking(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), "083015", "0512");
    MapOwners owners;
    return computeRaceResult(raceFileContent(records), 0, owners);
}

QStringList textsOf(const std::vector<PrintedLine>& lines)
{
    QStringList texts;
    for (const PrintedLine& line : lines)
        texts << line.text;
    return texts;
}

QString simplified(const QString& line)
{
    return line.simplified();
}

} // namespace

TEST(Preview, ThreeBirdsMatchTheGoldenText)
{
    FixedToday today;
    const RaceResult r = threeBirds();
    const QByteArray golden = readFile(fixture("preview_three_birds.txt"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(previewText(r.fields, r.listLines).toLatin1(), golden);
}

TEST(Preview, LongListGetsNoFillerLines)
{
    FixedToday today;
    const RaceResult r = birds(40);
    const QString text = previewText(r.fields, r.listLines);
    EXPECT_TRUE(text.endsWith("  40) Unknown flyer         US08 ABC000039 08:30:15 05/12 \r\n"));
    EXPECT_EQ(text.count("\r\n"), 16 + 40);

    const QString thirty = previewText(birds(30).fields, birds(30).listLines);
    EXPECT_TRUE(thirty.endsWith("05/12 \r\n"));
    const QString none = previewText(birds(0).fields, {});
    EXPECT_EQ(none.count("\r\n"), 16 + 29);
}

TEST(Preview, PositionsAreRightAlignedInFour)
{
    const QString list = listLine(1, "A", clocking("000001", "083015", "0512"));
    EXPECT_EQ(reportLine(0, list).left(6), "   1) ");
    EXPECT_EQ(reportLine(9, list).left(6), "  10) ");
    EXPECT_EQ(reportLine(99, list).left(6), " 100) ");
    EXPECT_EQ(reportLine(0, list).size(), 58);
}

TEST(PrintedReport, RaceLinesInOrderWithFontsAndSignature)
{
    FixedToday today;
    const RaceResult r = threeBirds();
    const auto lines = printedLines(r.fields, r.listLines);
    ASSERT_EQ(lines.size(), 15u + 3 + 4);
    EXPECT_EQ(lines[0].text, "Corvex Race Results ");
    EXPECT_EQ(lines[0].pointSize, 24);
    EXPECT_TRUE(lines[0].bold);
    EXPECT_EQ(lines[0].leftTwips, 220);
    EXPECT_EQ(lines[1].text, QString(62, '_'));
    EXPECT_TRUE(lines[1].bold);
    EXPECT_EQ(lines[1].pointSize, 12);
    EXPECT_FALSE(lines[3].bold);
    EXPECT_EQ(lines[3].leftTwips, 100);
    EXPECT_EQ(lines[3].text, "Race No.: 1  Date: 05/12  Liberation Point: SPRINGFL");
    EXPECT_EQ(lines[5].text, "Concourse: 0012   Combine: 03  Club: 07  Flyer: 045");
    EXPECT_EQ(lines[7].text, "Memory Module: 012345   Clock Set Time: 05/12/08 07:30:00");
    EXPECT_EQ(lines[8].text, QString(24, ' ') + "Verified Time : 05/12/08 08:00:00");
    EXPECT_EQ(lines[10].text, QString(24, ' ') + "Deviation Time: 3 second(s)");
    EXPECT_EQ(lines[13].text, "Pos   Flyer Name            Band Number     Time    Date");
    EXPECT_EQ(lines[15].text, reportLine(0, r.listLines[0]));
    EXPECT_EQ(lines.back().text, kSignatureLine);
}

TEST(PrintedReport, TrainingTitleAndNotApplicableClockLines)
{
    FixedToday today;
    const RaceResult r = birds(2, trainingHeader());
    const QStringList texts = textsOf(printedLines(r.fields, r.listLines));
    EXPECT_EQ(texts[0], "Corvex Training Results");
    EXPECT_TRUE(texts.contains(QString(24, ' ') + "Verified Time : N/A"));
    EXPECT_TRUE(texts.contains(QString(24, ' ') + "Clock Time    : N/A"));
    EXPECT_TRUE(texts.contains(QString(24, ' ') + "Deviation Time: N/A "));
}

TEST(PrintedReport, FlaggedDeviationPrintsWithItsWarning)
{
    FixedToday today;
    const RaceResult r = birds(1, raceHeader("051208080000", "051208080011"));
    EXPECT_TRUE(textsOf(printedLines(r.fields, r.listLines))
                    .contains(QString(24, ' ') + "Deviation Time: 11 Possible clock ERROR!!"));
}

TEST(PrintedReport, PdfHoldsThePreviewLinesInOrder)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    FixedToday today;
    const RaceResult r = birds(70); // more than a page
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    QString error;
    ASSERT_TRUE(writeReportPdf(printedLines(r.fields, r.listLines), pdf, &error)) << error.toStdString();

    QProcess process;
    process.start(pdftotext, {"-layout", pdf, "-"});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_GE(text.count('\f'), 1) << "expected a page break";

    QStringList pdfLines;
    for (const QString& line : text.split('\n')) {
        if (!line.trimmed().isEmpty())
            pdfLines << simplified(line);
    }
    // Every non-empty preview line below the title that the printed page shares, in the same order.
    QStringList expected;
    expected << "Corvex Race Results";
    for (const QString& line : previewText(r.fields, r.listLines).split("\r\n")) {
        const QString s = simplified(line);
        if (s.startsWith("Race No.:") || s.startsWith("Concourse:") || s.startsWith("Memory Module:") ||
            s.contains("Time") || s.contains(") "))
            expected << s;
    }
    expected.removeAll("Pos Flyer Name Band Number Time Date");
    expected << simplified(kSignatureLine);
    qsizetype at = 0;
    for (const QString& line : expected) {
        const qsizetype found = pdfLines.indexOf(line, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << line.toStdString();
        at = found + 1;
    }
}
