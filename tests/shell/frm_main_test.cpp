#include "clocklink/clock_status.h"
#include "shell_fixture.h"
#include "support/find_child.h"

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

// Each menu as one line: caption, then its entries as caption=name, "-" for a separator, "(off)" when greyed.
TEST_F(FrmMainTest, MenuTreeHasEveryCaptionNameAndState)
{
    const QStringList expected = {
        "&File: Import DOS Files=mnuImportDOS, Import Access Database...=mnuImportAccess, -=hyphen6, "
        "E&xit=exit",
        "&Administration: &Club Data=clubdata, &Flyer Data=FlyerData, &Bird Inventory=BirdList, "
        "&Liberation Data=liberationdata",
        "&Race Information: Save Race Data for WinSpeed=mnuWinSpeed, -=hyphen7, Corvex Race Data "
        "Reports=mnuRaceReport, Save Race Data (\"CVX\" style)=mnuDOSRaceData, Race "
        "Results...=mnuRaceResults",
        "&Options: Configuration/&Set-Up=configsetup, Compact Database=mnuCompactDatabase, Repair "
        "Database=mnuRepairDatabase, -=hyphen(off), Set CORVEX to PC Clock=mnuSetClock(off), Firmware "
        "Update=mnuUCUP(off)",
        "Help: &Help=mnuHelp"};
    QStringList shown;
    for (const QAction* top : window->menuBar()->actions()) {
        ASSERT_TRUE(top->menu() && top->isEnabled());
        QStringList entries;
        for (QAction* entry : top->menu()->actions()) {
            EXPECT_EQ(window->menuEntry(entry->objectName()), entry);
            entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text()) + "=" +
                           entry->objectName() + (entry->isEnabled() ? "" : "(off)");
        }
        shown << top->text() + ": " + entries.join(", ");
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(FrmMainTest, StatusBarHasElevenPanelsShownWholeInTheSmallestWindow)
{
    QStringList texts;
    for (int i = 1; i <= frmMain::kPanelCount; ++i)
        texts << window->statusPanel(i)->text();
    EXPECT_EQ(texts.mid(0, 10), (QStringList{"RBM V :", "0.00", " RBM SN :", "0000", " PCF V:", "0.00",
                                             " PCF SN:", "0000", "", "CORVEX NOT CONNECTED"}));
    EXPECT_TRUE(texts[10].contains(':')) << "the time of day";

    ClockIdentity longest;
    longest.rbmVersion = 12.34;
    longest.rbmSerial = "FFFF";
    longest.statusDigit = "3";
    window->setStatusPanels(clockStatusTexts(longest));
    window->show();
    window->resize(1, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (int i = 1; i <= frmMain::kPanelCount; ++i) {
        // A label's minimum size hint is what it needs to show its whole text.
        EXPECT_GE(window->statusPanel(i)->width(), window->statusPanel(i)->minimumSizeHint().width()) << i;
    }
}

TEST_F(FrmMainTest, HelpOpensTheUserGuideOrSaysItIsMissing)
{
    context->helpFile = QStringLiteral(CORVEX_SOURCE_DIR "/docs/help/index.html");
    window->menuEntry("mnuHelp")->trigger();
    EXPECT_EQ(openedUrls, QList<QUrl>{QUrl::fromLocalFile(context->helpFile)});
    EXPECT_TRUE(dialogs.log().empty());
    context->helpFile.clear();
    window->openHelp();
    EXPECT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"The help file cannot be found."});
}

TEST_F(FrmMainTest, ExitClosesOtherWindowsAndTheDatabase)
{
    window->show();
    QWidget* other = context->showWindow("clubdata", [](AppContext&) { return new QWidget; });
    ASSERT_TRUE(other);
    QPointer<QWidget> watch(other);
    window->menuEntry("exit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(watch && watch->isVisible());
    EXPECT_FALSE(context->database.isOpen());
}
} // namespace
