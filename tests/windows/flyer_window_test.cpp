#include "admin/windows/frm_flyer_list.h"
#include "window_test_support.h"

#include <QComboBox>

namespace {

class FlyerWindow : public WindowTest<frmFlyerList> {};

// The states as the user meets them, by mouse and keyboard: Enter on a button presses it, Enter in any box
// saves, Escape cancels.
TEST_F(FlyerWindow, StatesSearchAndTheKeyboard)
{
    db.addClub("Riverside");
    db.addClub("Oak");
    auto* w = open();
    EXPECT_EQ(entries(w, "lstFlyerList") << text(w, "lblflyerlistCount"),
              (QStringList{"No flyers to Show", "0 Flyers Listed"}));
    db.addFlyer("Anna", 2);
    db.addFlyer("Bert", 1);
    setText(w, "txtSearch", "an");
    EXPECT_EQ(text(w, "txtFlyerName"), "Anna") << "a single match is shown at once";
    EXPECT_EQ(findChildOrFail<QComboBox>(w, "cboClubList")->currentText(), "2 Oak");
    expectEnabled(w, "cmdFlyerEdit cmdFlyerErase", "cmdFlyerSave");
    setText(w, "txtSearch", "");
    EXPECT_EQ(entries(w, "lstFlyerList") << text(w, "Label1"), (QStringList{"Anna", "Bert", "Club"}));

    pressKey(w, "cmdFlyerAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "Label1"), "Choose Club");
    // Coordinates take digits only; names take any key.
    typeKeys(w, "txtFlyerLongitude", "-97.5x3");
    typeKeys(w, "txtFlyerLatitude", "+38,1");
    typeKeys(w, "txtFlyerName", "O'Neil-1");
    EXPECT_EQ(text(w, "txtFlyerLongitude") + text(w, "txtFlyerLatitude") + text(w, "txtFlyerName"),
              "9753381O'Neil-1");
    pressKey(w, "txtFlyerPhone", Qt::Key_Escape);
    EXPECT_EQ(entries(w, "lstFlyerList"), (QStringList{"Anna", "Bert"}));

    clickEntry(w, "lstFlyerList", 1);
    pressKey(w, "cmdFlyerEdit", Qt::Key_Enter);
    setText(w, "txtFlyerCity", "Topeka KS");
    pressKey(w, "txtFlyerLatitude", Qt::Key_Return);
    EXPECT_EQ(db.data().flyerByName("Bert").value->CityStateZip, "Topeka KS");
    expectEnabled(w, "cmdFlyerEdit cmdFlyerEnd", "cmdFlyerSave");
}

// The flyer's birds go with it in the data layer's erase.
TEST_F(FlyerWindow, EraseAsksAndRemovesTheFlyerOnlyOnYes)
{
    db.addClub("Riverside");
    db.addFlyer("Anna");
    db.addFlyer("Bert");
    auto* w = open();
    clickEntry(w, "lstFlyerList", 0);
    for (const auto answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        dialogs.queueAnswer(answer);
        clickButton(w, "cmdFlyerErase");
    }
    const QString ask =
        "[Delete Record] Are you sure you wish to DELETE this flyer and all of their inventory?";
    EXPECT_EQ(dialogs.lines(), (QStringList{ask, ask}));
    EXPECT_EQ(dialogs.log()[0].box.defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(entries(w, "lstFlyerList"), QStringList{"Bert"});
}

// Save reaches the operation: a name taken is refused on add (the name box emptied) but allowed on edit;
// without a chosen club the first is stored, without any club club 0.
TEST_F(FlyerWindow, SaveRefusesATakenNameAndStoresTheClub)
{
    auto* w = open();
    EXPECT_EQ(findChildOrFail<QComboBox>(w, "cboClubList")->currentText(), "No Clubs Listed");
    clickButton(w, "cmdFlyerAddNew");
    expectEnabled(w, "", "cboClubList");
    setText(w, "txtFlyerName", "Anna");
    clickButton(w, "cmdFlyerSave");
    EXPECT_EQ(db.data().flyerByName("Anna").value->ClubID, 0);
    w->close();

    db.addClub("Riverside");
    db.addClub("Oak");
    db.addFlyer("Bert");
    w = open();
    clickButton(w, "cmdFlyerAddNew");
    setText(w, "txtFlyerName", "anna ");
    clickButton(w, "cmdFlyerSave");
    ASSERT_EQ(dialogs.lines(), QStringList{"[] anna already exists, please choose another."});
    EXPECT_EQ(text(w, "txtFlyerName"), "");
    findChildOrFail<QComboBox>(w, "cboClubList")->setCurrentIndex(-1);
    setText(w, "txtFlyerName", "Carl \"Speedy\" Jones");
    clickButton(w, "cmdFlyerSave");
    EXPECT_EQ(db.data().flyerByName("Carl  Speedy  Jones").value->ClubID, 1);

    clickEntry(w, "lstFlyerList", 1);
    clickButton(w, "cmdFlyerEdit");
    setText(w, "txtFlyerName", "Anna");
    clickButton(w, "cmdFlyerSave");
    EXPECT_EQ(entries(w, "lstFlyerList"), (QStringList{"Anna", "Anna", "Carl  Speedy  Jones"}));
}

} // namespace
