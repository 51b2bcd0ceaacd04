#include "racedata/race_records.h"
#include "report_fixture.h"
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
#include <gtest/gtest.h>

using namespace report_test;

namespace {

// A machine without a printer: printing offers to save the report as a PDF file.
class NoPrinter : public ReportPrinter {
public:
    std::optional<Description> defaultPrinter() override { return std::nullopt; }
    bool print(const std::vector<PrintedLine>&, QString*) override { return false; }
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
        services.printer = std::make_shared<NoPrinter>();
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
    RaceReportServices services;
};

} // namespace

TEST_F(ReportWindows, ChooserListsRaceFilesMarksTrainingAndOpensByName)
{
    for (const char* name : {"00120307.045", "RBM12345.045", "ZSAVE.001", "ST6UNST.001", "notes.txt"})
        writeRace(name);
    writeRace("9.045", {trainingHeader(), clocking("000001", "083000", "0512")});
    ASSERT_TRUE(QDir(dir.path()).mkdir("empty") && QDir(dir.path()).mkdir("gone"));
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

    chooser.setFolder(path("empty"));
    EXPECT_EQ(listTexts(list) << count->text(), (QStringList{"No files", "0 file(s) listed"}));
    EXPECT_FALSE(list->isEnabled());
    // A folder gone since it was listed: a name is opened from the folder shown, not the first one.
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

// Another file or Browse keeps the chooser; closing the report closes it for good.
TEST_F(ReportWindows, ClosingTheReportClosesTheChooserAnotherFileOrBrowseKeepsIt)
{
    writeRace("00120307.045");
    writeRace("00120307.046");
    QPointer<frmRacefiles> chooser = new frmRacefiles(services);
    chooser->show();
    ASSERT_TRUE(chooser->chooseEntry(0));
    frmRaceform* second = chooser->chooseEntry(1);
    ASSERT_TRUE(second && chooser->isVisible());
    findChildOrFail<QPushButton>(second, "Command1")->click(); // &Browse
    EXPECT_TRUE(chooser->isVisible());
    chooser->chooseEntry(0)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(chooser);
}

// Without a printer the report can be saved as a PDF file named after the report file, and the user is told
// where it went (printing on a printer is the race results' print test).
TEST_F(ReportWindows, PreviewShowsTheTextPrintWithoutAPrinterAsksThenSavesAPdf)
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

    for (const Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Yes})
        dialogs.queueAnswer(answer);
    dialogs.queueSaveFile(path("out.pdf"));
    for (int click = 0; click < 2; ++click)
        findChildOrFail<QPushButton>(&form, "cmdPrinter")->click();
    EXPECT_TRUE(readFile(path("out.pdf")).startsWith("%PDF-"));
    const QString question = "There is no printer on this computer.\r\nDo you want to save this report as a "
                             "PDF file instead?";
    EXPECT_EQ(dialogs.texts(), (QStringList{question, question,
                                            "The race report was saved as a PDF file:\r\n" +
                                                QDir::toNativeSeparators(path("out.pdf"))}));
    EXPECT_EQ(dialogs.log().at(2).extra, dir.path() + "|RBM12345_045.pdf");
}
