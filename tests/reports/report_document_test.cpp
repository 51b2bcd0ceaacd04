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

RaceResult birds(int count, const QString& header = raceHeader())
{
    QStringList records{header};
    for (int i = 0; i < count; ++i)
        records << clocking(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), "083015", "0512");
    MapOwners owners;
    return computeRaceResult(raceFileContent(records), 0, owners);
}

QStringList printedTexts(const RaceResult& r)
{
    QStringList texts;
    for (const PrintedLine& line : printedLines(r.fields, r.listLines))
        texts << line.text;
    return texts;
}

} // namespace

TEST(Preview, ThreeBirdsMatchTheGoldenText)
{
    FixedToday today;
    MapOwners owners;
    owners.owners.insert(" ABC012345", "John Smith");
    owners.owners.insert(" ABC000777", "Mary O'Neil");
    const RaceResult r = computeRaceResult(
        raceFileContent(
            QStringList{raceHeader("051208080000", "051208080003"), clocking("012345", "083015", "0512"),
                        clocking("000777", "084501", "0512"), clocking("104010", "070000", "0513")}),
        0, owners);
    EXPECT_EQ(previewText(r.fields, r.listLines).toLatin1(),
              readFile(CORVEX_SOURCE_DIR "/tests/fixtures/reports/preview_three_birds.txt"));
}

TEST(Preview, ShortListsAreFilledToOneHeight)
{
    FixedToday today;
    // {birds, lines of the preview}: 16 heading lines, one a bird, empty lines up to 29 birds.
    for (const auto& [count, lines] : {std::pair{0, 16 + 29}, {30, 16 + 30}}) {
        const RaceResult r = birds(count);
        EXPECT_EQ(previewText(r.fields, r.listLines).count("\r\n"), lines) << count;
    }
}

TEST(Preview, PositionsAreRightAlignedInFour)
{
    const QString list = listLine(1, "A", clocking("000001", "083015", "0512"));
    const std::pair<int, const char*> starts[] = {
        {0, "   1) "}, {8, "   9) "}, {9, "  10) "}, {99, " 100) "}};
    for (const auto& [index, start] : starts)
        EXPECT_EQ(reportLine(index, list).left(6), start);
}

TEST(PrintedReport, RaceLinesInOrderWithFontsAndSignature)
{
    FixedToday today;
    const RaceResult r = birds(3, raceHeader("051208080000", "051208080011"));
    const auto lines = printedLines(r.fields, r.listLines);
    ASSERT_EQ(lines.size(), 15u + 3 + 4);
    EXPECT_EQ(lines[0].text, "Corvex Race Results ");
    EXPECT_EQ((std::tuple{lines[0].pointSize, lines[0].bold, lines[0].leftTwips}),
              (std::tuple{24, true, 220}));
    EXPECT_EQ(lines[1].text, QString(62, '_'));
    EXPECT_EQ((std::tuple{lines[1].pointSize, lines[1].bold}), (std::tuple{12, true}));
    EXPECT_EQ((std::tuple{lines[3].bold, lines[3].leftTwips}), (std::tuple{false, 100}));
    const QString clock(24, ' ');
    EXPECT_EQ(
        printedTexts(r).mid(3, 11),
        (QStringList{"Race No.: 1  Date: 05/12  Liberation Point: SPRINGFL", "",
                     "Concourse: 0012   Combine: 03  Club: 07  Flyer: 045", "",
                     "Memory Module: 012345   Clock Set Time: 05/12/08 07:30:00",
                     clock + "Verified Time : 05/12/08 08:00:00", clock + "Clock Time    : 05/12/08 08:00:11",
                     clock + "Deviation Time: 11 Possible clock ERROR!!", QString(62, '_'), "",
                     "Pos   Flyer Name            Band Number     Time    Date"}));
    EXPECT_EQ(lines[15].text, reportLine(0, r.listLines[0]));
    EXPECT_EQ(lines.back().text, kSignatureLine);

    EXPECT_EQ(printedTexts(birds(2, trainingHeader()))[0], "Corvex Training Results");
}

TEST(PrintedReport, PdfHoldsThePrintedLinesInOrderOverPages)
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
    // Every line that holds text, in order: none lost at the foot of a page.
    QStringList expected, shown;
    for (const QString& line : printedTexts(r))
        expected << line.simplified();
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
        shown << line.simplified();
    expected.removeAll({});
    shown.removeAll({});
    EXPECT_EQ(shown.join("|").toStdString(), expected.join("|").toStdString());
}
