#include "admin/windows/angle_field.h"
#include "platform/qt/frm_preview.h"
#include "results/result_document.h"
#include "results/result_publication.h"
#include "results/windows/frm_race_results.h"
#include "support/find_child.h"
#include "testing/scripted_dialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RecordingPrinter : public ReportPrinter {
public:
    std::vector<QString> printed, saved;
    std::optional<Description> defaultPrinter() override { return Description{"Office", "Hall"}; }
    bool print(const std::vector<PrintedLine>& lines, QString*) override { return keep(lines, printed); }
    bool writePdf(const std::vector<PrintedLine>& lines, const QString&, QString*) override
    {
        return keep(lines, saved);
    }
    static bool keep(const std::vector<PrintedLine>& lines, std::vector<QString>& into)
    {
        for (const PrintedLine& line : lines)
            into.push_back(line.text);
        return true;
    }
};

TEST(RaceResultsWindow, ButtonsShowPrintAndSaveTheChosenRace)
{
    FiguredRace race;
    race.race = {4, "06/14", "DIXON", "Chicago", "415020", "0892845", QTime(7, 0), {}};
    race.lines.push_back(
        {1, Unranked::None, "Anna Baker", "US24ROCK000103", 153597.17, 0, 3600, 2799598, false});
    ScriptedDialogs dialogs;
    auto printer = std::make_shared<RecordingPrinter>();
    QTemporaryDir folder;
    std::vector<int> figured;
    auto* w = new frmRaceResults({&dialogs, folder.path(),
                                  [] {
                                      return Fetched<std::vector<RaceChoice>>{
                                          {{3, "06/07", "ELGIN", 1}, {4, "06/14", "DIXON", 2}}, {}};
                                  },
                                  [&](const RaceChoice& c) {
                                      figured.push_back(c.raceNumber);
                                      return race;
                                  },
                                  printer});
    w->showRace(1);
    EXPECT_EQ(figured, (std::vector<int>{3, 4}));
    EXPECT_EQ(findChildOrFail<QTableWidget>(w, "tblResults")->item(0, 7)->text(), "*");

    findChildOrFail<QPushButton>(w, "cmdPreview")->click();
    EXPECT_EQ(findChildOrFail<frmPreview>(w, "frmPreview")->reportText(),
              resultText(race).replace("\n", "\r\n"));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    findChildOrFail<QPushButton>(w, "cmdPrint")->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Do you want to send this report to : \r\nPrinter : Office\r\nLocated : Hall"});
    dialogs.queueSaveFile(folder.filePath("r.pdf"));
    findChildOrFail<QPushButton>(w, "cmdPdf")->click();
    std::vector<QString> lines;
    RecordingPrinter::keep(resultPrintedLines(race), lines);
    EXPECT_EQ(printer->printed, lines);
    EXPECT_EQ(printer->saved, lines);

    dialogs.queueSaveFile(folder.filePath("r.csv"));
    findChildOrFail<QPushButton>(w, "cmdSaveAs")->click();
    QFile csv(folder.filePath("r.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readAll()), resultCsv(race));
    delete w;
}

TEST(AngleField, ShowsWhatTheDigitsReadAndRefusesTooFewOnLeaving)
{
    QWidget window;
    auto* box = new QLineEdit(&window);
    box->setObjectName("txtRaceLatitude");
    ScriptedDialogs dialogs;
    bool inLeaveCheck = false;
    AngleField field(box, Axis::Latitude, dialogs, inLeaveCheck, [] { return true; });
    box->setText("4152305");
    field.setHemisphere(u'S');
    EXPECT_EQ(field.shown()->text(), "41°52'30.5\" S");
    EXPECT_TRUE(field.left());
    box->setText("41523");
    EXPECT_FALSE(field.left());
    EXPECT_EQ(dialogs.texts(), QStringList{field.shown()->text()});
}

} // namespace
