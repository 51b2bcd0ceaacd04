#include "shell/frm_config.h"
#include "shell/frm_main.h"
#include "shell/menu_wiring.h"
#include "shell_fixture.h"
#include "support/find_child.h"

#include <QAction>
#include <QApplication>
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
        makeContext();
        window = std::make_unique<frmMain>(*context);
        context->mainWindow = window.get();
    }
    void TearDown() override
    {
        window.reset();
        context.reset();
    }
    std::unique_ptr<frmMain> window;
};

struct Entry {
    const char* caption; // empty: a separator
    const char* name;
    bool enabled;
};
struct Menu {
    const char* caption;
    std::vector<Entry> entries;
};

TEST_F(FrmMainTest, MenuTreeHasEveryCaptionNameAndState)
{
    const std::vector<Menu> expected = {
        {"&File",
         {{"Import DOS Files", "mnuImportDOS", true},
          {"Import Access Database...", "mnuImportAccess", true},
          {"", "hyphen6", true},
          {"E&xit", "exit", true}}},
        {"&Administration",
         {{"&Club Data", "clubdata", true},
          {"&Flyer Data", "FlyerData", true},
          {"&Bird Inventory", "BirdList", true},
          {"&Liberation Data", "liberationdata", true}}},
        {"&Race Information",
         {{"Save Race Data for WinSpeed", "mnuWinSpeed", true},
          {"", "hyphen7", true},
          {"Corvex Race Data Reports", "mnuRaceReport", true},
          {"Save Race Data (\"CVX\" style)", "mnuDOSRaceData", true}}},
        {"&Options",
         {{"Configuration/&Set-Up", "configsetup", true},
          {"Compact Database", "mnuCompactDatabase", true},
          {"Repair Database", "mnuRepairDatabase", true},
          {"", "hyphen", false},
          {"Set CORVEX to PC Clock", "mnuSetClock", false},
          {"Firmware Update", "mnuUCUP", false}}},
        {"Help", {{"&Help", "mnuHelp", true}}},
    };
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), static_cast<qsizetype>(expected.size()));
    for (size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].caption);
        EXPECT_EQ(top[m]->text(), QString::fromUtf8(expected[m].caption));
        EXPECT_TRUE(top[m]->isEnabled());
        ASSERT_TRUE(top[m]->menu());
        const QList<QAction*> entries = top[m]->menu()->actions();
        ASSERT_EQ(entries.size(), static_cast<qsizetype>(expected[m].entries.size()));
        for (size_t e = 0; e < expected[m].entries.size(); ++e) {
            const Entry& want = expected[m].entries[e];
            SCOPED_TRACE(want.name);
            EXPECT_EQ(entries[e]->objectName(), QString::fromUtf8(want.name));
            EXPECT_EQ(entries[e]->isSeparator(), *want.caption == '\0');
            if (!entries[e]->isSeparator()) {
                EXPECT_EQ(entries[e]->text(), QString::fromUtf8(want.caption));
            }
            EXPECT_EQ(entries[e]->isEnabled(), want.enabled);
            EXPECT_EQ(window->menuEntry(QString::fromUtf8(want.name)), entries[e]);
        }
    }
}

TEST_F(FrmMainTest, DisabledEntriesDoNothingWhenTriggered)
{
    window->menuEntry("mnuSetClock")->trigger();
    window->menuEntry("mnuUCUP")->trigger();
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(FrmMainTest, DatabaseFailureGreysAdministrationAndMaintenance)
{
    window->disableDatabaseEntries();
    auto* administration = findChildOrFail<QMenu>(window.get(), "mnuAdministrationMenu");
    ASSERT_TRUE(administration);
    EXPECT_FALSE(administration->menuAction()->isEnabled());
    EXPECT_FALSE(window->menuEntry("mnuCompactDatabase")->isEnabled());
    EXPECT_FALSE(window->menuEntry("mnuRepairDatabase")->isEnabled());
    EXPECT_FALSE(window->menuEntry("mnuImportAccess")->isEnabled());
    EXPECT_TRUE(window->menuEntry("configsetup")->isEnabled());
    EXPECT_TRUE(window->menuEntry("mnuWinSpeed")->isEnabled());
}

TEST_F(FrmMainTest, StatusBarHasElevenPanelsWithTheFixedCaptions)
{
    auto* bar = findChildOrFail<QStatusBar>(window.get(), "StatusBar1");
    ASSERT_TRUE(bar);
    const QStringList captions = {"RBM V :", "0.00",     " RBM SN :", "0000", " PCF V:",
                                  "0.00",    " PCF SN:", "0000",      "",     "CORVEX NOT CONNECTED"};
    for (int i = 1; i <= 10; ++i) {
        auto* panel = findChildOrFail<QLabel>(bar, QStringLiteral("StatusBar1_Panel%1").arg(i));
        ASSERT_TRUE(panel);
        EXPECT_EQ(panel->text(), captions[i - 1]) << "panel " << i;
    }
    auto* time = findChildOrFail<QLabel>(bar, "StatusBar1_Panel11");
    ASSERT_TRUE(time);
    EXPECT_TRUE(time->text().contains(':')) << time->text().toStdString();
}

TEST_F(FrmMainTest, QuarterScreenGivesEighteenAndFivePoints)
{
    const QSize screen = window->screen()->geometry().size();
    window->show();
    window->resize(screen.width() / 4, screen.height() / 4);
    window->layoutBanner();
    ASSERT_EQ(window->size(), QSize(screen.width() / 4, screen.height() / 4));
    auto* program = findChildOrFail<QLabel>(window.get(), "lblProgram");
    auto* maker = findChildOrFail<QLabel>(window.get(), "lblCoName");
    auto* rule = findChildOrFail<QFrame>(window.get(), "Line1");
    ASSERT_TRUE(program && maker && rule);
    EXPECT_DOUBLE_EQ(program->font().pointSizeF(), 18.0);
    EXPECT_DOUBLE_EQ(maker->font().pointSizeF(), 5.0);
    EXPECT_EQ(program->text(), "CORVEX ");
    EXPECT_EQ(maker->text(), "halvard electronic   ");
    EXPECT_EQ(rule->width(), window->width());
    EXPECT_EQ(rule->height(), 1); // 5 x 0.25
    // The name stands on the rule, the maker's name sits half its height below it; both end near the right.
    EXPECT_EQ(program->y() + program->height(), rule->y());
    EXPECT_EQ(maker->y(), rule->y() + maker->height() / 2);
    EXPECT_LE(program->x() + program->width(), window->width());
    EXPECT_GT(program->x() + program->width(), window->width() - program->width() / 4);
}

TEST_F(FrmMainTest, FullScreenScalesFontsAndRule)
{
    const QSize screen = window->screen()->geometry().size();
    window->show();
    window->resize(screen);
    window->layoutBanner();
    EXPECT_DOUBLE_EQ(findChildOrFail<QLabel>(window.get(), "lblProgram")->font().pointSizeF(), 72.0);
    EXPECT_DOUBLE_EQ(findChildOrFail<QLabel>(window.get(), "lblCoName")->font().pointSizeF(), 20.0);
    EXPECT_EQ(findChildOrFail<QFrame>(window.get(), "Line1")->height(), 5);
}

TEST_F(FrmMainTest, TinyWindowStillDrawsTheRule)
{
    window->show();
    window->resize(12, 9);
    window->layoutBanner();
    auto* rule = findChildOrFail<QFrame>(window.get(), "Line1");
    ASSERT_TRUE(rule);
    EXPECT_GE(rule->height(), 1);
    EXPECT_GE(findChildOrFail<QLabel>(window.get(), "lblProgram")->font().pointSizeF(), 1.0);
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

TEST_F(FrmMainTest, HelpOpensTheUserGuide)
{
    context->helpFile = QStringLiteral(CORVEX_SOURCE_DIR "/docs/help/index.html");
    window->menuEntry("mnuHelp")->trigger();
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.first(), QUrl::fromLocalFile(context->helpFile));
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(FrmMainTest, MissingHelpFileIsReportedNotIgnored)
{
    context->helpFile.clear();
    window->openHelp();
    EXPECT_TRUE(openedUrls.isEmpty());
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_EQ(dialogs.texts().first(), "The help file cannot be found.");
}

TEST_F(FrmMainTest, GeneralErrorReportCountsErrors)
{
    window->showGeneralError("Disk full", 61);
    window->showGeneralError("Disk full", 61);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_EQ(dialogs.texts()[0], "Disk full #:61.1\r\nPlease notify Halvard Electronics USA of this ERROR");
    EXPECT_EQ(dialogs.texts()[1], "Disk full #:61.2\r\nPlease notify Halvard Electronics USA of this ERROR");
}

TEST_F(FrmMainTest, ConfigurationEntryOpensTheWindowModeless)
{
    WireMenus(*window, *context);
    window->show();
    window->menuEntry("configsetup")->trigger();
    ASSERT_TRUE(context->configWindow);
    EXPECT_TRUE(context->configWindow->isVisible());
    EXPECT_FALSE(context->configWindow->isModal());
    EXPECT_TRUE(window->isVisible());
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
