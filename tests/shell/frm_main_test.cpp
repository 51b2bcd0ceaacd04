#include "clocklink/clock_status.h"
#include "shell/frm_config.h"
#include "shell_fixture.h"
#include "support/find_child.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

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

TEST(BannerSizes, ScaleByTheSmallerRatioWithARuleOfAtLeastOnePixel)
{
    struct Case {
        QSize window;
        double program, maker;
        int rule;
    };
    const QSize screen(1600, 1200);
    for (const Case& c : {Case{{1600, 1200}, 72, 20, 5}, Case{{400, 300}, 18, 5, 1},
                          Case{{400, 1200}, 18, 5, 1}, Case{{12, 9}, 0.54, 0.15, 1}}) {
        const BannerSizes sizes = bannerSizes(c.window, screen);
        EXPECT_DOUBLE_EQ(sizes.programPoints, c.program) << c.window.width();
        EXPECT_DOUBLE_EQ(sizes.makerPoints, c.maker) << c.window.width();
        EXPECT_EQ(sizes.ruleThickness, c.rule) << c.window.width();
    }
}

TEST_F(FrmMainTest, BannerStandsOnTheRuleAndEndsNearTheRightEdge)
{
    window->show();
    window->resize(window->screen()->geometry().size());
    window->layoutBanner();
    auto* program = findChildOrFail<QLabel>(window.get(), "lblProgram");
    auto* maker = findChildOrFail<QLabel>(window.get(), "lblCoName");
    auto* rule = findChildOrFail<QFrame>(window.get(), "Line1");
    ASSERT_TRUE(program && maker && rule);
    EXPECT_DOUBLE_EQ(program->font().pointSizeF(), 72.0);
    EXPECT_DOUBLE_EQ(maker->font().pointSizeF(), 20.0);
    EXPECT_EQ(program->text(), "CORVEX ");
    EXPECT_EQ(maker->text(), "halvard electronic   ");
    EXPECT_EQ(rule->width(), window->width());
    EXPECT_EQ(rule->height(), 5);
    EXPECT_EQ(program->y() + program->height(), rule->y());
    EXPECT_EQ(maker->y(), rule->y() + maker->height() / 2);
    EXPECT_LE(program->x() + program->width(), window->width());
    EXPECT_GT(program->x() + program->width(), window->width() - program->width() / 4);
}

TEST_F(FrmMainTest, StatusBarHasElevenPanelsShownWholeInTheSmallestWindow)
{
    auto* bar = findChildOrFail<QStatusBar>(window.get(), "StatusBar1");
    ASSERT_TRUE(bar);
    QStringList texts;
    for (int i = 1; i <= frmMain::kPanelCount; ++i)
        texts << findChildOrFail<QLabel>(bar, QStringLiteral("StatusBar1_Panel%1").arg(i))->text();
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
    EXPECT_EQ(window->size(), window->minimumSize());
    for (int i = 1; i <= frmMain::kPanelCount; ++i) {
        const QLabel* panel = window->statusPanel(i);
        // A label's minimum size hint is what it needs to show its whole text.
        EXPECT_GE(panel->width(), panel->minimumSizeHint().width())
            << i << " " << panel->text().toStdString();
    }
}

TEST_F(FrmMainTest, BackgroundClickCentresASmallWindow)
{
    const QRect screen = window->screen()->geometry();
    window->show();
    window->resize(screen.width() / 2, screen.height() / 2);
    window->move(screen.topLeft());
    window->backgroundClick();
    EXPECT_LE(std::abs(window->frameGeometry().center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(window->frameGeometry().center().y() - screen.center().y()), 2);
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
