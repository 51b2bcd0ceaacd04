#include "admin/club_rules.h"
#include "admin/windows/frm_club_data.h"
#include "support/database_builder.h"
#include "window_test_support.h"

#include <QPointer>

namespace {

class ClubWindow : public ::testing::Test {
protected:
    frmClubData* open()
    {
        m_window = new frmClubData(db.path(), dialogs);
        return m_window;
    }
    void TearDown() override { delete m_window.data(); }

    TestDatabase db;
    StrictDialogs dialogs;
    QPointer<frmClubData> m_window;
};

// The buttons by mouse and by keyboard: Enter on a focused button presses it, Enter in a box saves, Escape
// cancels an add or edit and closes the window when there is nothing to cancel.
TEST_F(ClubWindow, ButtonStatesRowByRowAndTheKeyboard)
{
    db.addClub("Riverside");
    db.addClub("Oak Lofts");
    const int connections = openConnectionCount(db.path());
    auto* w = open();
    EXPECT_EQ(w->objectName(), "frmClubData");
    EXPECT_EQ(entries(w, "lstClubList"), (QStringList{"  1 - Riverside", "  2 - Oak Lofts"}));
    EXPECT_EQ(text(w, "lblClubList"), "2 Clubs Listed");
    // Browsing (opened, clicked, cancelled, saved) and changing (add, edit) are mirror images; only an
    // edit keeps the search box.
    const auto browsing = [&](bool clicked) {
        expectEnabled(w, "cmdClubAddNew cmdClubEnd txtClubSearch lstClubList", "cmdClubSave cmdClubCancel");
        EXPECT_EQ(findChildOrFail<QWidget>(w, "cmdClubEdit")->isEnabled(), clicked);
        expectReadableWhileDisabled(w, "txtClubName txtClubID");
    };
    const auto changing = [&](bool search) {
        expectEnabled(w, "cmdClubSave cmdClubCancel txtClubName",
                      "cmdClubAddNew cmdClubEdit cmdClubEnd txtClubID lstClubList");
        EXPECT_EQ(findChildOrFail<QWidget>(w, "txtClubSearch")->isEnabled(), search);
    };
    browsing(false);
    clickEntry(w, "lstClubList", 1);
    EXPECT_EQ(text(w, "txtClubID"), "02");
    EXPECT_EQ(text(w, "txtClubName"), "Oak Lofts");
    browsing(true);
    pressKey(w, "cmdClubAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "txtClubName"), "");
    changing(false);
    pressKey(w, "txtClubName", Qt::Key_Return);
    ASSERT_EQ(dialogs.lines(), QStringList{"[Error] Must enter a name!"});
    EXPECT_EQ(w->mode(), club::Mode::Adding);
    pressKey(w, "txtClubName", Qt::Key_Escape);
    browsing(true);
    clickEntry(w, "lstClubList", 0);
    clickButton(w, "cmdClubEdit");
    EXPECT_EQ(text(w, "txtClubName"), "Riverside");
    changing(true);
    typeKeys(w, "txtClubName", " Flyers");
    pressKey(w, "txtClubName", Qt::Key_Enter);
    EXPECT_EQ(entries(w, "lstClubList"), (QStringList{"  1 - Riverside Flyers", "  2 - Oak Lofts"}));
    browsing(true);

    EXPECT_EQ(openConnectionCount(db.path()), connections + 1);
    pressKey(w, "lstClubList", Qt::Key_Escape);
    EXPECT_FALSE(w->databaseOpen());
    EXPECT_EQ(openConnectionCount(db.path()), connections);
}

TEST_F(ClubWindow, SearchNarrowsAndSingleMatchIsShownAtOnce)
{
    db.addClub("Riverside");
    db.addClub("Oak Lofts");
    auto* w = open();
    setText(w, "txtClubSearch", "oak");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  2 - Oak Lofts"});
    EXPECT_EQ(text(w, "txtClubName"), "Oak Lofts");
    EXPECT_TRUE(findChildOrFail<QWidget>(w, "cmdClubEdit")->isEnabled());
    // Nothing found shows what an empty table shows.
    setText(w, "txtClubSearch", "x");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"No clubs to Show"});
    EXPECT_EQ(text(w, "lblClubList"), "0 Clubs Listed");
    expectEnabled(w, "cmdClubAddNew cmdClubEnd txtClubSearch",
                  "cmdClubEdit cmdClubSave cmdClubCancel lstClubList txtClubID txtClubName");
    EXPECT_FALSE(findChildOrFail<QWidget>(w, "cmdClubDelete")->isVisibleTo(w));
    setText(w, "txtClubSearch", "");
    EXPECT_EQ(entries(w, "lstClubList").size(), 2);
}

TEST_F(ClubWindow, SameNameClubsShowTheClickedOne)
{
    db.addClub("Twin");
    db.addClub("Twin");
    auto* w = open();
    clickEntry(w, "lstClubList", 1);
    EXPECT_EQ(text(w, "txtClubID"), "02");
    clickButton(w, "cmdClubEdit");
    setText(w, "txtClubName", "Second");
    clickButton(w, "cmdClubSave");
    EXPECT_EQ(entries(w, "lstClubList"), (QStringList{"  1 - Twin", "  2 - Second"}));
}

TEST_F(ClubWindow, AddFirstClubSaysSoAndStartsAdding)
{
    auto* w = open();
    w->addFirstClub();
    ASSERT_EQ(dialogs.lines(), QStringList{"[] There must be at least one club entry."});
    EXPECT_EQ(w->mode(), club::Mode::Adding);
    expectEnabled(w, "txtClubName cmdClubSave", "cmdClubEnd");
    setText(w, "txtClubName", "First Club");
    clickButton(w, "cmdClubSave");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  1 - First Club"});
}

} // namespace
