#include "admin/windows/frm_bird_inventory.h"
#include "settings/settings_store.h"
#include "support/database_builder.h"
#include "window_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QRadioButton>

namespace {

class BirdWindow : public ::testing::Test {
protected:
    BirdWindow() : settings(db.folder() + "/Corvex.conf") { settings.write("NationalOrg", "US"); }

    frmBirdInventory* open()
    {
        m_window = new frmBirdInventory(db.path(), dialogs, settings);
        return m_window;
    }
    void TearDown() override { delete m_window.data(); }
    std::vector<Bird> birdsOf(int flyerId) { return db.data().birdsOfFlyerListed(flyerId).value; }
    QComboBox* org(QWidget* w) { return findChildOrFail<QComboBox>(w, "cmbOrg"); }

    TestDatabase db;
    SettingsStore settings;
    StrictDialogs dialogs;
    QPointer<frmBirdInventory> m_window;
};

// By mouse and keyboard: Enter on a button presses it (Save, focused after Add), Escape cancels.
TEST_F(BirdWindow, ButtonStatesRowByRowAndTheKeyboard)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    db.addFlyer("Bert");
    db.addBird(anna, "US08 ABC110203", "12345ABCDE", "BLUE");
    db.addBird(anna, "US08 ABC009999");
    auto* w = open();
    EXPECT_EQ(w->objectName(), "frmBirdInventory");
    EXPECT_EQ(entries(w, "lstBIFlyerList"), (QStringList{"Anna", "Bert"}));
    EXPECT_EQ(text(w, "lblBIFlyerListCount"), "2 Flyers Listed");
    // opened = the first flyer clicked; sorted by digits 3 to 6 of the band number
    EXPECT_EQ(entries(w, "lstPigeonList"),
              (QStringList{" US08 ABC110203C 12345ABCDE BLUE", " US08 ABC009999C 0000000000 NONE"}));
    EXPECT_EQ(text(w, "lblPigeonList"), "2 Pigeon(s) listed");
    expectEnabled(
        w, "cmdBirdAddNew cmdBirdEnd cmdSendBirds",
        "cmdBirdEdit cmdBirdSave cmdBirdCancel cmdBirdDelete cmbOrg txtYear txtClub txtIdNumber txtColor "
        "optCock optHen");
    EXPECT_TRUE(findChildOrFail<QRadioButton>(w, "optCock")->isChecked());

    clickEntry(w, "lstPigeonList", 0);
    EXPECT_EQ(org(w)->currentText(), "US");
    EXPECT_EQ(text(w, "txtYear"), "08");
    EXPECT_EQ(text(w, "txtClub"), " ABC");
    EXPECT_EQ(text(w, "txtIdNumber"), "110203");
    EXPECT_EQ(text(w, "txtColor"), "BLUE");
    expectEnabled(w, "cmdBirdAddNew cmdBirdEdit cmdBirdDelete", "cmdBirdSave");
    expectReadableWhileDisabled(w, "txtYear txtClub txtIdNumber txtColor optCock optHen");
    // The column heads stand over their columns.
    const QString heads = text(w, "lblPigeonColumns");
    EXPECT_EQ(heads.indexOf("Ring"), entries(w, "lstPigeonList")[0].indexOf("12345ABCDE"));
    EXPECT_EQ(heads.indexOf("Colour"), entries(w, "lstPigeonList")[0].indexOf("BLUE"));

    pressKey(w, "cmdBirdAddNew", Qt::Key_Return);
    EXPECT_EQ(text(w, "txtIdNumber"), "110204");
    EXPECT_EQ(text(w, "txtColor"), "NONE");
    EXPECT_EQ(text(w, "txtClub"), " ABC") << "year, club and organisation stay from the shown bird";
    expectEnabled(w, "cmdBirdSave cmdBirdCancel cmbOrg txtYear txtColor optHen",
                  "cmdBirdAddNew cmdBirdEdit cmdBirdDelete cmdBirdEnd");
    setText(w, "txtColor", "");
    expectEnabled(w, "", "cmdBirdSave");

    pressKey(w, "txtColor", Qt::Key_Escape);
    EXPECT_EQ(text(w, "txtIdNumber"), "110203") << "Cancel shows the remembered bird again";
    expectEnabled(w, "cmdBirdAddNew cmdBirdEnd", "cmdBirdSave cmdBirdCancel txtYear");

    clickButton(w, "cmdBirdEdit");
    expectEnabled(w, "cmdBirdSave cmdBirdCancel txtIdNumber",
                  "cmdBirdAddNew cmdBirdEdit cmdBirdDelete cmdBirdEnd");
    setText(w, "txtColor", "");
    expectEnabled(w, "cmdBirdCancel txtColor", "cmdBirdSave cmdSendBirds");
    setText(w, "txtColor", "RED");
    pressKey(w, "cmdBirdSave", Qt::Key_Return);
    EXPECT_EQ(entries(w, "lstPigeonList")[0], " US08 ABC110203C 12345ABCDE RED");
    expectEnabled(w, "cmdBirdAddNew cmdBirdEnd cmdBirdEdit", "cmdBirdSave cmdBirdCancel txtColor");

    // A flyer without birds
    clickEntry(w, "lstBIFlyerList", 1);
    EXPECT_EQ(entries(w, "lstPigeonList"), QStringList{"No birds to list"});
    EXPECT_EQ(text(w, "lblPigeonList"), " 0 Pigeon(s) listed");
    expectEnabled(w, "cmdBirdAddNew cmdBirdEnd", "cmdSendBirds lstPigeonList cmdBirdEdit cmdBirdDelete");
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(BirdWindow, NoFlyersAtAll)
{
    auto* w = open();
    EXPECT_EQ(entries(w, "lstBIFlyerList"), QStringList{"No flyers available"});
    EXPECT_EQ(text(w, "lblBIFlyerListCount"), " 0 Flyers Listed");
    EXPECT_EQ(entries(w, "lstPigeonList"), QStringList{"No pigeons available"});
    EXPECT_EQ(text(w, "lblPigeonList"), " 0 Pigeons Listed");
    expectEnabled(w, "cmdReceiveBirds cmdBirdEnd",
                  "lstBIFlyerList lstPigeonList cmdBirdAddNew cmdBirdEdit cmdSendBirds");
}

TEST_F(BirdWindow, FirstBirdIsOfferedAsNumberOneAndTypedIn)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    auto* w = open();
    clickButton(w, "cmdBirdAddNew");
    EXPECT_EQ(text(w, "txtIdNumber"), "000001");
    EXPECT_EQ(text(w, "txtColor"), "NONE");
    EXPECT_EQ(org(w)->currentText(), "US");
    expectEnabled(w, "", "cmdBirdSave");
    // Each box takes only its own keys.
    typeKeys(w, "txtYear", "a0-8");
    setText(w, "txtIdNumber", "");
    typeKeys(w, "txtIdNumber", "4.2x");
    setText(w, "txtColor", "");
    typeKeys(w, "txtColor", "Blue 2-Bar");
    EXPECT_EQ(QStringList({text(w, "txtYear"), text(w, "txtIdNumber"), text(w, "txtColor")}),
              (QStringList{"08", "42", "BlueBar"}));
    typeKeys(w, "txtClub", "ab");
    w->clubLeft();
    EXPECT_EQ(text(w, "txtClub"), "  ab");
    pressKey(w, "txtClub", Qt::Key_Return); // moves on to the number, does not save
    EXPECT_TRUE(birdsOf(anna).empty());
    findChildOrFail<QRadioButton>(w, "optHen")->setChecked(true);
    pressKey(w, "txtYear", Qt::Key_Return); // a box without an Enter of its own saves

    const auto birds = birdsOf(anna);
    ASSERT_EQ(birds.size(), 1u);
    EXPECT_EQ(birds[0].band(), "US08  AB000042");
    EXPECT_EQ(QStringList({birds[0].sex, birds[0].elecnumber, birds[0].color, birds[0].type}),
              (QStringList{"H", "0000000000", "BLUEBAR", "0"}));
    EXPECT_EQ(entries(w, "lstPigeonList"), QStringList{" US08  AB000042H 0000000000 BLUEBAR"});
    EXPECT_EQ(findChildOrFail<QListWidget>(w, "lstPigeonList")->currentRow(), 0)
        << "the new bird is selected";
}

TEST_F(BirdWindow, YearAndOrganisationChecks)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    db.addBird(anna, "US50  AB000001");
    auto* w = open();
    // A stored year outside the accepted ones is not checked again: the colour can be edited.
    clickEntry(w, "lstPigeonList", 0);
    clickButton(w, "cmdBirdEdit");
    EXPECT_TRUE(w->yearLeft());
    clickButton(w, "cmdBirdCancel");
    clickButton(w, "cmdBirdAddNew");
    // The accepted sets are the rules' own; here only the window's use of them and its messages.
    setText(w, "txtYear", "51");
    EXPECT_FALSE(w->yearLeft());
    setText(w, "txtYear", "80");
    EXPECT_TRUE(w->yearLeft());
    EXPECT_EQ(dialogs.texts(), QStringList{bird::yearMessage()});
    dialogs.clearLog();
    org(w)->setEditText("UC");
    EXPECT_FALSE(w->orgLeft());
    org(w)->setEditText("np");
    EXPECT_TRUE(w->orgLeft());
    EXPECT_EQ(dialogs.lines(), QStringList{"[] Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org."});
    dialogs.clearLog();

    org(w)->setEditText("");
    setText(w, "txtYear", "08");
    setText(w, "txtClub", "AB");
    w->pressSave();
    EXPECT_EQ(dialogs.lines(), QStringList{"[Error] All fields must have data!"});
}

TEST_F(BirdWindow, DuplicateBandOfAnotherFlyerIsRefused)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    const int bert = db.addFlyer("Bert");
    db.addBird(bert, "US08  AB000042");
    auto* w = open();
    ASSERT_EQ(entries(w, "lstBIFlyerList")[0], "Anna");
    clickButton(w, "cmdBirdAddNew");
    setText(w, "txtYear", "08");
    setText(w, "txtClub", "  ab");
    setText(w, "txtIdNumber", "000042");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(
        dialogs.lines(),
        QStringList{"[] US08  AB000042 already exists, please select another Nat Org, Hatch Year, Club, or "
                    "Band number"});
    EXPECT_TRUE(birdsOf(anna).empty());
    EXPECT_EQ(w->mode(), bird::Mode::Adding);
    EXPECT_EQ(text(w, "txtIdNumber"), "000043") << "the add starts again with the next number";
}

TEST_F(BirdWindow, EditKeepsRingAndMarksTypeOneButRefusesAnotherBirdsBand)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    db.addBird(anna, "US08 ABC000001", "12345ABCDE");
    db.addBird(anna, "US08 ABC000002", "99999ZZZZZ");
    auto* w = open();
    clickEntry(w, "lstPigeonList", 0);
    clickButton(w, "cmdBirdEdit");
    setText(w, "txtIdNumber", "000002");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(dialogs.texts().size(), 1);
    EXPECT_EQ(w->mode(), bird::Mode::Editing);
    auto birds = birdsOf(anna);
    ASSERT_EQ(birds.size(), 2u);
    EXPECT_EQ(birds[0].band(), "US08 ABC000001");
    EXPECT_EQ(birds[1].band(), "US08 ABC000002");

    setText(w, "txtIdNumber", "000001");
    setText(w, "txtColor", "checker");
    clickButton(w, "cmdBirdSave");
    birds = birdsOf(anna);
    ASSERT_EQ(birds.size(), 2u);
    EXPECT_EQ(birds[0].band(), "US08 ABC000001");
    EXPECT_EQ(birds[0].color, "CHECKER");
    EXPECT_EQ(birds[0].elecnumber, "12345ABCDE");
    EXPECT_EQ(birds[0].type, "1");
    EXPECT_EQ(birds[1].type, "0");
}

TEST_F(BirdWindow, DeleteSelectedRemovesOnlyTheChosenFlyersBirds)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    const int bert = db.addFlyer("Bert");
    db.addBird(anna, "US08 ABC000001");
    db.addBird(anna, "US08 ABC000002");
    db.addBird(anna, "US08 ABC000003");
    // Received inventories are stored without a band test, so another flyer can hold the same band.
    db.addBird(bert, "US08 ABC000002");
    auto* w = open();
    findChildOrFail<QCheckBox>(w, "chkSendOnlySelectBirds")->setChecked(true);
    auto* list = findChildOrFail<QListWidget>(w, "lstPigeonList");
    list->item(0)->setSelected(true);
    list->setCurrentRow(1, QItemSelectionModel::Select);

    dialogs.queueAnswer(Dialogs::Answer::No);
    clickButton(w, "cmdBirdDelete");
    EXPECT_EQ(birdsOf(anna).size(), 3u);
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.text, "Are you sure you wish to DELETE all selected records ?");
    EXPECT_EQ(dialogs.log()[0].box.title, "Delete Record");
    EXPECT_EQ(dialogs.log()[0].box.defaultAnswer, Dialogs::Answer::No);

    list->item(0)->setSelected(true);
    list->setCurrentRow(1, QItemSelectionModel::Select);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    clickButton(w, "cmdBirdDelete");
    const auto left = birdsOf(anna);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].band(), "US08 ABC000003");
    EXPECT_EQ(birdsOf(bert).size(), 1u);
    EXPECT_EQ(entries(w, "lstPigeonList"), QStringList{" US08 ABC000003C 0000000000 NONE"});
}

TEST_F(BirdWindow, SingleDeleteRemovesTheClickedBird)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    db.addBird(anna, "US08 ABC000001");
    db.addBird(anna, "US08 ABC000002");
    auto* w = open();
    clickEntry(w, "lstPigeonList", 1);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    clickButton(w, "cmdBirdDelete");
    EXPECT_EQ(dialogs.texts(), QStringList{"Are you sure you wish to DELETE this single record ?"});
    const auto left = birdsOf(anna);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].band(), "US08 ABC000001");
    expectEnabled(w, "cmdBirdAddNew", "cmdBirdEdit cmdBirdDelete");
}

} // namespace

TEST_F(BirdWindow, AFlyerErasedByAnotherWindowIsNotGivenBirds)
{
    db.addClub("Riverside");
    const int anna = db.addFlyer("Anna");
    db.addFlyer("Bert");
    auto* w = open();
    ASSERT_EQ(entries(w, "lstBIFlyerList")[0], "Anna");
    ASSERT_TRUE(db.data().eraseFlyer(anna).ok());
    clickButton(w, "cmdBirdAddNew");
    setText(w, "txtYear", "08");
    setText(w, "txtClub", "  ab");
    clickButton(w, "cmdBirdSave");
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[] The flyer Anna no longer exists. Close this window and open it again."});
    EXPECT_FALSE(db.data().bandExists("US08  AB000001").value);
    EXPECT_EQ(w->mode(), bird::Mode::Browse);
    EXPECT_EQ(entries(w, "lstBIFlyerList"), QStringList{"Bert"});
}
