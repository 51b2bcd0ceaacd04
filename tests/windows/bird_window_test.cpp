#include "admin/windows/frm_bird_inventory.h"
#include "settings/settings_store.h"
#include "window_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace {

class BirdWindow : public WindowTest<frmBirdInventory> {
protected:
    BirdWindow() : settings(db.folder() + "/Corvex.conf")
    {
        settings.write("NationalOrg", "US");
        db.addClub("Riverside");
    }

    frmBirdInventory* open() { return WindowTest::open(settings); }
    std::vector<Bird> birdsOf(int flyerId) { return db.data().birdsOfFlyerListed(flyerId).value; }
    static QStringList fieldsOf(const Bird& b) { return {b.band(), b.sex, b.elecnumber, b.color, b.type}; }
    void typeBand(QWidget* w, const QString& number)
    {
        setText(w, "txtYear", "08");
        setText(w, "txtClub", "  ab");
        setText(w, "txtIdNumber", number);
    }

    SettingsStore settings;
};

// The states as the user meets them, by mouse and keyboard: Enter on a button presses it, Escape cancels.
TEST_F(BirdWindow, StatesListsAndTheKeyboard)
{
    const int anna = db.addFlyer("Anna");
    db.addFlyer("Bert");
    db.addBird(anna, "US08 ABC110203", "12345ABCDE", "BLUE");
    db.addBird(anna, "US08 ABC009999");
    auto* w = open();
    EXPECT_EQ(entries(w, "lstBIFlyerList"), (QStringList{"Anna", "Bert"}));
    // opened = the first flyer clicked; sorted by digits 3 to 6 of the band number
    EXPECT_EQ(entries(w, "lstPigeonList") << text(w, "lblPigeonList"),
              (QStringList{" US08 ABC110203C 12345ABCDE BLUE", " US08 ABC009999C 0000000000 NONE",
                           "2 Pigeon(s) listed"}));
    clickEntry(w, "lstPigeonList", 0);
    EXPECT_EQ(QStringList({findChildOrFail<QComboBox>(w, "cmbOrg")->currentText(), text(w, "txtYear"),
                           text(w, "txtClub"), text(w, "txtIdNumber"), text(w, "txtColor")}),
              (QStringList{"US", "08", " ABC", "110203", "BLUE"}));
    // The column heads stand over their columns.
    const QString heads = text(w, "lblPigeonColumns");
    EXPECT_EQ(heads.indexOf("Ring"), entries(w, "lstPigeonList")[0].indexOf("12345ABCDE"));
    EXPECT_EQ(heads.indexOf("Colour"), entries(w, "lstPigeonList")[0].indexOf("BLUE"));

    // Add offers the next number; year, club and organisation stay from the shown bird.
    pressKey(w, "cmdBirdAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "txtIdNumber") + text(w, "txtColor") + text(w, "txtClub"), "110204NONE ABC");
    expectEnabled(w, "cmdBirdSave cmdBirdCancel txtColor", "cmdBirdAddNew cmdBirdEnd lstPigeonList");
    pressKey(w, "txtColor", Qt::Key_Escape);
    EXPECT_EQ(text(w, "txtIdNumber"), "110203") << "Cancel shows the remembered bird again";

    clickButton(w, "cmdBirdEdit");
    setText(w, "txtColor", "RED");
    pressKey(w, "cmdBirdSave", Qt::Key_Return);
    EXPECT_EQ(entries(w, "lstPigeonList")[0], " US08 ABC110203C 12345ABCDE RED");

    clickEntry(w, "lstBIFlyerList", 1);
    EXPECT_EQ(entries(w, "lstPigeonList") << text(w, "lblPigeonList"),
              (QStringList{"No birds to list", " 0 Pigeon(s) listed"}));
    EXPECT_TRUE(dialogs.log().empty());
}

// Each box takes only its own keys; Enter in the club box moves on, in a box without an Enter of its own
// it saves.
TEST_F(BirdWindow, FirstBirdIsNumberOneTypedKeyByKey)
{
    const int anna = db.addFlyer("Anna");
    auto* w = open();
    clickButton(w, "cmdBirdAddNew");
    EXPECT_EQ(text(w, "txtIdNumber"), "000001");
    typeKeys(w, "txtYear", "a0-8");
    setText(w, "txtIdNumber", "");
    typeKeys(w, "txtIdNumber", "4.2x");
    setText(w, "txtColor", "");
    typeKeys(w, "txtColor", "Blue 2-Bar");
    typeKeys(w, "txtClub", "ab");
    w->clubLeft();
    EXPECT_EQ(
        QStringList({text(w, "txtYear"), text(w, "txtIdNumber"), text(w, "txtColor"), text(w, "txtClub")}),
        (QStringList{"08", "42", "BlueBar", "  ab"}));
    pressKey(w, "txtClub", Qt::Key_Return);
    EXPECT_TRUE(birdsOf(anna).empty());
    findChildOrFail<QRadioButton>(w, "optHen")->setChecked(true);
    pressKey(w, "txtYear", Qt::Key_Return);

    const auto birds = birdsOf(anna);
    ASSERT_EQ(birds.size(), 1u);
    EXPECT_EQ(fieldsOf(birds[0]), (QStringList{"US08  AB000042", "H", "0000000000", "BLUEBAR", "0"}));
    EXPECT_EQ(findChildOrFail<QListWidget>(w, "lstPigeonList")->currentRow(), 0)
        << "the new bird is selected";
}

// Save reaches the operation: a band another bird holds is refused, an add going on with the next number;
// an edit keeps the ring and marks the bird type 1.
TEST_F(BirdWindow, SaveRefusesAnotherBirdsBandAndAnEditKeepsTheRing)
{
    const int anna = db.addFlyer("Anna");
    db.addBird(anna, "US50  AB000001", "12345ABCDE");
    db.addBird(db.addFlyer("Bert"), "US08  AB000042");
    auto* w = open();
    clickButton(w, "cmdBirdAddNew");
    // Leaving a box checks it with the rules' own sets: a refused value says why.
    setText(w, "txtYear", "51");
    EXPECT_FALSE(w->yearLeft());
    auto* org = findChildOrFail<QComboBox>(w, "cmbOrg");
    org->setEditText("UC");
    EXPECT_FALSE(w->orgLeft());
    org->setEditText("US");
    typeBand(w, "000042");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(dialogs.texts(), (QStringList{bird::yearMessage(), bird::orgMessage(),
                                            "US08  AB000042 already exists, please select another Nat Org, "
                                            "Hatch Year, Club, or Band number"}));
    EXPECT_EQ(w->mode(), bird::Mode::Adding);
    EXPECT_EQ(text(w, "txtIdNumber"), "000043");
    clickButton(w, "cmdBirdSave");
    ASSERT_EQ(birdsOf(anna).size(), 2u);

    clickEntry(w, "lstPigeonList", 0);
    clickButton(w, "cmdBirdEdit");
    EXPECT_TRUE(w->yearLeft()) << "a stored year is not checked again";
    setText(w, "txtYear", "08");
    setText(w, "txtIdNumber", "000043");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(dialogs.texts().size(), 4);
    EXPECT_EQ(w->mode(), bird::Mode::Editing);
    setText(w, "txtYear", "50");
    setText(w, "txtIdNumber", "000001");
    setText(w, "txtColor", "checker");
    clickButton(w, "cmdBirdSave");
    const auto birds = birdsOf(anna);
    ASSERT_EQ(birds.size(), 2u);
    EXPECT_EQ(fieldsOf(birds[0]) << birds[1].type,
              (QStringList{"US50  AB000001", "C", "12345ABCDE", "CHECKER", "1", "0"}));
}

// Received inventories are stored without a band test, so another flyer can hold the same band: Delete
// removes only the chosen flyer's birds, after a question that defaults to No.
TEST_F(BirdWindow, DeleteAsksAndRemovesTheChosenFlyersBirdsOnly)
{
    const int anna = db.addFlyer("Anna");
    const int bert = db.addFlyer("Bert");
    for (const char* band : {"US08 ABC000001", "US08 ABC000002", "US08 ABC000003", "US08 ABC000004"})
        db.addBird(anna, band);
    db.addBird(bert, "US08 ABC000002");
    auto* w = open();
    clickEntry(w, "lstPigeonList", 3);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    clickButton(w, "cmdBirdDelete");
    findChildOrFail<QCheckBox>(w, "chkSendOnlySelectBirds")->setChecked(true);
    auto* list = findChildOrFail<QListWidget>(w, "lstPigeonList");
    for (const auto answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        list->item(0)->setSelected(true);
        list->setCurrentRow(1, QItemSelectionModel::Select);
        dialogs.queueAnswer(answer);
        clickButton(w, "cmdBirdDelete");
    }
    const QString ask = "[Delete Record] Are you sure you wish to DELETE ";
    EXPECT_EQ(dialogs.lines(), (QStringList{ask + "this single record ?", ask + "all selected records ?",
                                            ask + "all selected records ?"}));
    EXPECT_EQ(dialogs.log()[1].box.defaultAnswer, Dialogs::Answer::No);
    EXPECT_EQ(entries(w, "lstPigeonList"), QStringList{" US08 ABC000003C 0000000000 NONE"});
    EXPECT_EQ(birdsOf(bert).size(), 1u);
}

} // namespace

TEST_F(BirdWindow, AFlyerErasedByAnotherWindowIsNotGivenBirds)
{
    const int anna = db.addFlyer("Anna");
    auto* w = open();
    ASSERT_TRUE(db.data().eraseFlyer(anna).ok());
    clickButton(w, "cmdBirdAddNew");
    typeBand(w, "000001");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[] The flyer Anna no longer exists. Close this window and open it again."});
    EXPECT_FALSE(db.data().bandExists("US08  AB000001").value);
    EXPECT_EQ(w->mode(), bird::Mode::Browse);
    EXPECT_EQ(entries(w, "lstBIFlyerList") + entries(w, "lstPigeonList") << text(w, "lblBIFlyerListCount"),
              (QStringList{"No flyers available", "No pigeons available", " 0 Flyers Listed"}));
}
