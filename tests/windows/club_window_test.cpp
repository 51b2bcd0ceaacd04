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
    void TearDown() override
    {
        delete m_window.data();
        NoClubEntry = false;
    }

    TestDatabase db;
    StrictDialogs dialogs;
    QPointer<frmClubData> m_window;
};

TEST_F(ClubWindow, EmptyTableShowsNoClubs)
{
    auto* w = open();
    EXPECT_EQ(w->objectName(), "frmClubData");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"No clubs to Show"});
    EXPECT_EQ(text(w, "lblClubList"), "0 Clubs Listed");
    expectEnabled(w, "cmdClubAddNew cmdClubEnd txtClubSearch",
                  "cmdClubEdit cmdClubSave cmdClubCancel lstClubList txtClubID txtClubName");
    EXPECT_FALSE(findChildOrFail<QWidget>(w, "cmdClubDelete")->isVisibleTo(w));
}

TEST_F(ClubWindow, ButtonStatesRowByRow)
{
    db.addClub("Riverside");
    db.addClub("Oak Lofts");
    auto* w = open();
    EXPECT_EQ(entries(w, "lstClubList"), (QStringList{"  1 - Riverside", "  2 - Oak Lofts"}));
    EXPECT_EQ(text(w, "lblClubList"), "2 Clubs Listed");
    // Browsing (opened, clicked, cancelled, saved) and changing (add, edit) are mirror images; only an
    // edit keeps the search box.
    const auto browsing = [&](bool clicked) {
        expectEnabled(w, "cmdClubAddNew cmdClubEnd txtClubSearch lstClubList",
                      "cmdClubSave cmdClubCancel txtClubName txtClubID");
        EXPECT_EQ(findChildOrFail<QWidget>(w, "cmdClubEdit")->isEnabled(), clicked);
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
    clickButton(w, "cmdClubAddNew");
    EXPECT_EQ(text(w, "txtClubName"), "");
    changing(false);
    clickButton(w, "cmdClubCancel");
    browsing(true);
    clickEntry(w, "lstClubList", 0);
    clickButton(w, "cmdClubEdit");
    EXPECT_EQ(text(w, "txtClubName"), "Riverside");
    changing(true);
    setText(w, "txtClubName", "Riverside Flyers");
    clickButton(w, "cmdClubSave");
    EXPECT_EQ(entries(w, "lstClubList"), (QStringList{"  1 - Riverside Flyers", "  2 - Oak Lofts"}));
    browsing(true);
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ClubWindow, SearchNarrowsAndSingleMatchIsShownAtOnce)
{
    db.addClub("Riverside");
    db.addClub("Oak Lofts");
    db.addClub("100% Racing");
    db.addClub("A_B");
    db.addClub("AXB");
    auto* w = open();
    setText(w, "txtClubSearch", "oak");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  2 - Oak Lofts"});
    EXPECT_EQ(text(w, "txtClubName"), "Oak Lofts");
    EXPECT_EQ(text(w, "txtClubID"), "02");
    EXPECT_TRUE(findChildOrFail<QWidget>(w, "cmdClubEdit")->isEnabled());

    // Wildcard characters typed by the user are plain characters.
    setText(w, "txtClubSearch", "A_");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  4 - A_B"});
    setText(w, "txtClubSearch", "1%");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"No clubs to Show"});
    setText(w, "txtClubSearch", "'");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"No clubs to Show"});
    EXPECT_EQ(text(w, "lblClubList"), "0 Clubs Listed");
    setText(w, "txtClubSearch", "");
    EXPECT_EQ(entries(w, "lstClubList").size(), 5);
}

TEST_F(ClubWindow, NamesAreCleanedAndEmptyNameRefused)
{
    auto* w = open();
    clickButton(w, "cmdClubAddNew");
    clickButton(w, "cmdClubSave");
    ASSERT_EQ(dialogs.lines(), QStringList{"[Error] Must enter a name!"});
    EXPECT_EQ(dialogs.log().back().box.icon, Dialogs::Icon::Critical);
    EXPECT_EQ(w->mode(), club::Mode::Adding);

    setText(w, "txtClubName", "  O'Hara \"Best\"|Lofts ");
    clickButton(w, "cmdClubSave");
    const auto stored = db.data().searchClubs({});
    ASSERT_EQ(stored.value.size(), 1u);
    EXPECT_EQ(stored.value[0].ClubName, "O Hara  Best  Lofts");
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  1 - O Hara  Best  Lofts"});
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

TEST_F(ClubWindow, NoClubEntryStartsInAddModeUntilAClubIsSaved)
{
    NoClubEntry = true;
    auto* w = open();
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.text, "There must be at least one club entry.");
    EXPECT_EQ(dialogs.log()[0].box.title, "");
    EXPECT_EQ(w->mode(), club::Mode::Adding);
    expectEnabled(w, "txtClubName cmdClubSave", "cmdClubEnd");
    setText(w, "txtClubName", "First Club");
    clickButton(w, "cmdClubSave");
    EXPECT_FALSE(NoClubEntry);
    EXPECT_EQ(entries(w, "lstClubList"), QStringList{"  1 - First Club"});
}

TEST_F(ClubWindow, ConnectionIsHeldUntilEnd)
{
    db.addClub("Riverside");
    const int before = openConnectionCount(db.path());
    auto* w = open();
    EXPECT_EQ(openConnectionCount(db.path()), before + 1);
    clickButton(w, "cmdClubEnd");
    EXPECT_EQ(openConnectionCount(db.path()), before);
}

} // namespace
