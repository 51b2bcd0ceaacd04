#include "admin/club_rules.h"
#include "admin/windows/frm_club_data.h"
#include "window_test_support.h"

namespace {

class ClubWindow : public WindowTest<frmClubData> {};

// The states as the user meets them, by mouse and keyboard: Enter on a focused button presses it, Enter in a
// box saves, Escape cancels an add or edit and closes the window when there is nothing to cancel.
TEST_F(ClubWindow, StatesSearchAndTheKeyboard)
{
    db.addClub("Riverside");
    db.addClub("Oak Lofts");
    db.addClub("Oak Lofts");
    const int connections = openConnectionCount(db.path());
    auto* w = open();
    EXPECT_EQ(entries(w, "lstClubList") << text(w, "lblClubList"),
              (QStringList{"  1 - Riverside", "  2 - Oak Lofts", "  3 - Oak Lofts", "3 Clubs Listed"}));
    // Same-name clubs: the clicked one is shown and edited.
    clickEntry(w, "lstClubList", 2);
    EXPECT_EQ(text(w, "txtClubID") + text(w, "txtClubName"), "03Oak Lofts");

    pressKey(w, "cmdClubAddNew", Qt::Key_Return);
    expectEnabled(w, "cmdClubSave txtClubName", "cmdClubAddNew lstClubList txtClubSearch");
    pressKey(w, "txtClubName", Qt::Key_Return);
    ASSERT_EQ(dialogs.lines(), QStringList{"[Error] Must enter a name!"});
    EXPECT_EQ(w->mode(), club::Mode::Adding);
    pressKey(w, "txtClubName", Qt::Key_Escape);

    clickButton(w, "cmdClubEdit");
    typeKeys(w, "txtClubName", " II");
    pressKey(w, "txtClubName", Qt::Key_Enter);
    EXPECT_EQ(entries(w, "lstClubList"),
              (QStringList{"  1 - Riverside", "  2 - Oak Lofts", "  3 - Oak Lofts II"}));

    // The search narrows; a single match is shown at once, none shows what an empty table shows.
    setText(w, "txtClubSearch", "rIver");
    EXPECT_EQ(text(w, "txtClubName"), "Riverside");
    setText(w, "txtClubSearch", "x");
    EXPECT_EQ(entries(w, "lstClubList") << text(w, "lblClubList"),
              (QStringList{"No clubs to Show", "0 Clubs Listed"}));
    EXPECT_FALSE(findChildOrFail<QWidget>(w, "cmdClubDelete")->isVisibleTo(w));

    EXPECT_EQ(openConnectionCount(db.path()), connections + 1);
    pressKey(w, "lstClubList", Qt::Key_Escape);
    EXPECT_EQ(openConnectionCount(db.path()), connections);
}

TEST_F(ClubWindow, AddFirstClubSaysSoAndStartsAdding)
{
    auto* w = open();
    w->addFirstClub();
    ASSERT_EQ(dialogs.lines(), QStringList{"[] There must be at least one club entry."});
    EXPECT_EQ(w->mode(), club::Mode::Adding);
    setText(w, "txtClubName", "First Club");
    clickButton(w, "cmdClubSave");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  1 - First Club"});
}

} // namespace
