#include "racedata/race_records.h"
#include "report_fixture.h"
#include "reports/race_files.h"
#include "reports/windows/frm_racefiles.h"
#include "reports/windows/frm_raceform.h"
#include "support/find_child.h"
#include "testing/scripted_dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace report_test;

namespace {

// A printer that records what it was given.
class FakePrinter : public ReportPrinter {
public:
    std::optional<Description> installed;
    std::vector<PrintedLine> printed;
    QString pdfPath;
    std::optional<Description> defaultPrinter() override { return installed; }
    bool print(const std::vector<PrintedLine>& lines, QString*) override
    {
        printed = lines;
        return true;
    }
    bool writePdf(const std::vector<PrintedLine>& lines, const QString& path, QString*) override
    {
        printed = lines;
        pdfPath = path;
        return true;
    }
};

class ReportWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        SelectedRaceIndex = 0;
        dialogs.onUnexpected = [](const QString& what) {
            ADD_FAILURE() << "unexpected box: " << what.toStdString();
        };
        services.dialogs = &dialogs;
        services.raceFolder = dir.path();
        services.printer = printer;
        services.openOwners = [this]() -> std::unique_ptr<OwnerLookup> {
            auto owners = std::make_unique<MapOwners>();
            owners->owners.insert(" ABC000001", "John Smith");
            return owners;
        };
    }
    void TearDown() override { EXPECT_FALSE(dialogs.answersLeft()); }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void writeRace(const QString& name,
                   const QStringList& records = {raceHeader(), clocking("000001", "083000", "0512")})
    {
        ASSERT_TRUE(writeRaceFile(path(name), records).ok) << name.toStdString();
    }

    FixedToday today;
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::shared_ptr<FakePrinter> printer = std::make_shared<FakePrinter>();
    RaceReportServices services;
};

} // namespace

TEST_F(ReportWindows, ChooserListsRaceFilesMarksTrainingAndOpensByName)
{
    for (const char* name : {"00120307.045", "RBM12345.045", "ZSAVE.001", "ST6UNST.001", "notes.txt"})
        writeRace(name);
    writeRace("9.045", {trainingHeader(), clocking("000001", "083000", "0512")});
    ASSERT_TRUE(QDir(dir.path()).mkdir("empty") && QDir(dir.path()).mkdir("other") &&
                QDir(dir.path()).mkdir("gone"));
    frmRacefiles chooser(services);
    auto* list = findChildOrFail<QListWidget>(&chooser, "List1");
    auto* count = findChildOrFail<QLabel>(&chooser, "Label3");
    ASSERT_TRUE(list && count);
    EXPECT_EQ(listTexts(list) << count->text(), (QStringList{"00120307.045", "9.045 T", "2 file(s) listed"}));
    frmRaceform* report = chooser.chooseEntry(1);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(findChildOrFail<QLabel>(report, "lblRaceNum")->text(), "Training");
    EXPECT_EQ(report->reportFilePath(), path("RBM12345.045"));
    report->close();

    // A name chosen after a move to another folder opens from that folder.
    writeRace("other/11111111.001");
    chooser.setFolder(path("other"));
    report = chooser.chooseEntry(0);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->raceFilePath(), path("other/11111111.001"));
    report->close();
    chooser.setFolder(path("empty"));
    EXPECT_EQ(listTexts(list) << count->text(), (QStringList{"No files", "0 file(s) listed"}));
    EXPECT_FALSE(list->isEnabled());
    // A folder gone since it was listed.
    writeRace("gone/00120307.045");
    chooser.setFolder(path("gone"));
    ASSERT_TRUE(QDir(path("gone")).removeRecursively());
    EXPECT_EQ(chooser.chooseEntry(0), nullptr);
    EXPECT_EQ(listTexts(list), QStringList{"No Files"});
}

TEST_F(ReportWindows, RaceFormShowsTheChosenRaceAndOpensAtTheKeptOne)
{
    writeRace("00120307.045",
              {raceHeader("000000000000", "000000000000"), clocking("000001", "083000", "0512"),
               clocking("000002", "083100", "0512"), raceHeader("051208080000", "051208080011", "05"),
               clocking("000003", "090000", "0519")});
    auto* form = new frmRaceform(services);
    ASSERT_EQ(form->openFile(path("00120307.045")), frmRaceform::Opening::Shown);
    auto* combo = findChildOrFail<QComboBox>(form, "Combo1");
    auto* list = findChildOrFail<QListWidget>(form, "List1");
    auto* stop = findChildOrFail<QLineEdit>(form, "txtClockStop");
    ASSERT_TRUE(combo && list && stop);
    EXPECT_EQ(listTexts(list).value(0), "1  John Smith           US08 ABC000001C 08:30:00 05/12");
    EXPECT_EQ(stop->palette().color(QPalette::Text), QColor(Qt::red)) << "NO Knock Off in red";

    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(list->count(), 1);
    EXPECT_NE(stop->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(findChildOrFail<QLineEdit>(form, "txtDevLabel")->text(), "Possible clock ERROR!!");
    // The report file now holds the race shown.
    EXPECT_TRUE(readFile(path("RBM12345.045")).contains("US08 ABC000003"));
    form->close();

    // The next report opens at the race chosen last, or at the last race of a shorter file.
    const std::pair<QString, QString> kept[] = {{"00120307.045", "2"}, {"00120307.046", "1"}};
    for (const auto& [name, shown] : kept) {
        writeRace("00120307.046");
        form = new frmRaceform(services);
        ASSERT_EQ(form->openFile(path(name)), frmRaceform::Opening::Shown);
        EXPECT_EQ(findChildOrFail<QComboBox>(form, "Combo1")->currentText(), shown);
        form->close();
    }
}

TEST_F(ReportWindows, EscapeOrClosingTheReportClosesTheChooserBrowseKeepsIt)
{
    writeRace("00120307.045");
    writeRace("00120307.046", {raceHeader(), clocking("000002", "083000", "0512")});
    QPointer<frmRacefiles> chooser = new frmRacefiles(services);
    chooser->show();
    QPointer<frmRaceform> report = chooser->chooseEntry(0);
    // Another file replaces the report; the chooser stays.
    QPointer<frmRaceform> second = chooser->chooseEntry(1);
    ASSERT_TRUE(report && second && second != report);
    QTest::keyClick(findChildOrFail<QPushButton>(second, "Command1"), Qt::Key_Return); // &Browse
    EXPECT_FALSE(second && second->isVisible());
    EXPECT_TRUE(chooser->isVisible());

    report = chooser->chooseEntry(0);
    ASSERT_TRUE(report);
    QTest::keyClick(findChildOrFail<QListWidget>(report, "List1"), Qt::Key_Escape);
    EXPECT_FALSE(report && report->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(chooser) << "closed for good, as the report";
}

TEST_F(ReportWindows, PreviewShowsTheTextPrintAsksThenPrintsOrSavesAPdf)
{
    writeRace("00120307.045");
    frmRaceform form(services);
    ASSERT_EQ(form.openFile(path("00120307.045")), frmRaceform::Opening::Shown);
    findChildOrFail<QPushButton>(&form, "cmdPrint")->click();
    ASSERT_NE(form.previewWindow(), nullptr);
    auto* text = findChildOrFail<QPlainTextEdit>(form.previewWindow(), "Text1");
    ASSERT_TRUE(text && text->isReadOnly());
    EXPECT_EQ(form.previewWindow()->reportText(), previewText(form.result().fields, form.result().listLines));
    EXPECT_EQ(QFontMetrics(text->font()).horizontalAdvance("iiiii"),
              QFontMetrics(text->font()).horizontalAdvance("WWWWW"));

    auto* print = findChildOrFail<QPushButton>(&form, "cmdPrinter");
    printer->installed = ReportPrinter::Description{"Office", "Room 2"};
    dialogs.queueAnswer(Dialogs::Answer::No);
    print->click();
    EXPECT_TRUE(printer->printed.empty());
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    print->click();
    EXPECT_EQ(dialogs.lines().value(1),
              "[Print Report] Do you want to send this report to : \r\nPrinter : Office\r\nLocated : Room 2");
    EXPECT_EQ(printer->printed.size(), printedLines(form.result().fields, form.result().listLines).size());

    // Without a printer the report can be saved as a PDF file, and the user is told where it went.
    printer->installed.reset();
    printer->printed.clear();
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    dialogs.queueSaveFile(path("out.pdf"));
    print->click();
    EXPECT_FALSE(printer->printed.empty());
    EXPECT_EQ(printer->pdfPath, path("out.pdf"));
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"There is no printer on this computer.\r\nDo you want to save this "
                           "report as a PDF file instead?",
                           "The race report was saved as a PDF file:\r\n" +
                               QDir::toNativeSeparators(path("out.pdf"))}));
}
