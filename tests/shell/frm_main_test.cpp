#include "clocklink/clock_status.h"
#include "shell_fixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {
class FrmMainTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        makeMainWindow();
    }
};

// Each menu as one line: caption, then its entries as caption=name, "(off)" when greyed.
TEST_F(FrmMainTest, MenuTreeHasEveryCaptionNameAndState)
{
    QStringList shown;
    for (const QAction* top : window->menuBar()->actions()) {
        shown << top->text() + ":";
        for (const QAction* entry : top->menu()->actions())
            shown.last() +=
                " " + entry->text() + "=" + entry->objectName() + (entry->isEnabled() ? "" : "(off)");
    }
    EXPECT_EQ(shown,
              (QStringList{
                  "&File: Import DOS Files=mnuImportDOS Import Access Database...=mnuImportAccess =hyphen6 "
                  "E&xit=exit",
                  "&Administration: &Club Data=clubdata &Flyer Data=FlyerData &Bird Inventory=BirdList "
                  "&Liberation Data=liberationdata",
                  "&Race Information: Save Race Data for WinSpeed=mnuWinSpeed =hyphen7 Corvex Race Data "
                  "Reports=mnuRaceReport Save Race Data (\"CVX\" style)=mnuDOSRaceData Race "
                  "Results...=mnuRaceResults",
                  "&Options: Configuration/&Set-Up=configsetup Compact Database=mnuCompactDatabase Repair "
                  "Database=mnuRepairDatabase =hyphen(off) Set CORVEX to PC Clock=mnuSetClock(off) Firmware "
                  "Update=mnuUCUP(off)",
                  "Help: &Help=mnuHelp"}));
}

// The captions and the clock's longest texts, each panel shown whole in the smallest window.
TEST_F(FrmMainTest, StatusBarHasElevenPanelsShownWholeInTheSmallestWindow)
{
    ClockIdentity longest;
    longest.rbmVersion = 12.34;
    longest.rbmSerial = "FFFF";
    longest.statusDigit = "3";
    window->setStatusPanels(clockStatusTexts(longest));
    window->show();
    window->resize(1, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList texts;
    for (int i = 1; i <= frmMain::kPanelCount; ++i) {
        texts << window->statusPanel(i)->text();
        // A label's minimum size hint is what it needs to show its whole text.
        EXPECT_GE(window->statusPanel(i)->width(), window->statusPanel(i)->minimumSizeHint().width()) << i;
    }
    EXPECT_EQ(texts.mid(0, 9), (QStringList{"RBM V :", "12.34", " RBM SN :", "65535", " PCF V:", "0.00",
                                            " PCF SN:", "0000", ""}));
    EXPECT_TRUE(texts[10].contains(':')) << "the time of day";
}

TEST_F(FrmMainTest, HelpOpensTheUserGuideOrSaysItIsMissing)
{
    context->helpFile = QStringLiteral(CORVEX_SOURCE_DIR "/docs/help/index.html");
    window->menuEntry("mnuHelp")->trigger();
    EXPECT_EQ(openedUrls, QList<QUrl>{QUrl::fromLocalFile(context->helpFile)});
    context->helpFile.clear();
    window->openHelp();
    EXPECT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"The help file cannot be found."});
}

TEST_F(FrmMainTest, ExitClosesOtherWindowsAndTheDatabase)
{
    ASSERT_TRUE(context->database.open(dir.filePath("corvexdata.db"), true).ok());
    window->show();
    QPointer<QWidget> other = context->showWindow("clubdata", [](AppContext&) { return new QWidget; });
    ASSERT_TRUE(other);
    window->menuEntry("exit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(other && other->isVisible());
    EXPECT_FALSE(context->database.isOpen());
}
} // namespace
