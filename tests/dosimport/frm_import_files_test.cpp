#include "dos_fixture.h"
#include "dosimport/windows/frm_import_files.h"
#include "platform/qt/window_support.h"
#include "support/find_child.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTest>

namespace {

class ImportWindowTest : public DosFolderTest {
protected:
    void TearDown() override { delete window.data(); }

    frmImportFiles& open(const QString& folder = {})
    {
        window = new frmImportFiles(
            db.path(), folder.isEmpty() ? files.path() : folder, dialogs, progress,
            [this](const QString& concourse, const QString& combine) {
                updates << concourse + "/" + combine;
            },
            [this] { ++clubsOpened; });
        return *window;
    }

    // Two clubs whose IDs are not their list positions: the first stored club is gone.
    void addClubsWithGap()
    {
        db.addClub("Gone");
        db.addClub("Riverside");
        db.addClub("Hilltop");
        QSqlQuery query(db.database().connection());
        ASSERT_TRUE(query.exec("DELETE FROM clubs WHERE ClubName = 'Gone'"));
    }

    QStringList storedFlyers()
    {
        QStringList names;
        for (const Flyer& flyer : db.data().searchFlyers({}).value)
            names << flyer.Name.trimmed() + "@" + QString::number(flyer.ClubID);
        return names;
    }

    TestDatabase db;
    QPointer<frmImportFiles> window;
    QStringList updates;
    int clubsOpened = 0;
};

const QString kSmith = "John Smith";
const QString kJones = "Mary Jones";

} // namespace

TEST_F(ImportWindowTest, AFolderWithoutAdminFilesListsNoneAndLeavesImportOff)
{
    addClubsWithGap();
    frmImportFiles& w = open();
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              QStringList{"No Flyer Files Found"});
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label8")->text(), "Clubs = 2");
    auto* clubs = findChildOrFail<QListWidget>(&w, "lstClubs");
    EXPECT_EQ(listTexts(clubs), (QStringList{"Riverside", "Hilltop"}));
    EXPECT_EQ(clubs->currentRow(), 0);
    EXPECT_EQ(findChildOrFail<QCheckBox>(&w, "Check1")->text(), "Import selected flyers only.");
    EXPECT_EQ(findChildOrFail<QCheckBox>(&w, "Check2")->text(),
              "Update configuration settings for this Admin file.");
    EXPECT_EQ(findChildOrFail<QPushButton>(&w, "cmdSend")->text(), "Import");
    EXPECT_EQ(findChildOrFail<QPushButton>(&w, "cmdCancel")->text(), "Cancel");
    // Every list is labelled: a caption names it.
    QStringList labelled;
    for (const QLabel* label : w.findChildren<QLabel*>())
        labelled << (label->buddy() ? label->buddy()->objectName() : QString());
    for (const char* list : {"Drive1", "Dir1", "File1", "lstAdminFiles", "lstImportFlyers", "lstClubs"})
        EXPECT_TRUE(labelled.contains(list)) << list;
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ImportWindowTest, FoldersAreEnteredByEnterOrDoubleClickAndListTheirFiles)
{
    db.addClub("Riverside");
    QDir(files.path()).mkdir("floppy");
    write("floppy/s123405.dat", "");
    write("floppy/S999901.DAT", "");
    frmImportFiles& w = open();
    auto* dirs = findChildOrFail<QListWidget>(&w, "Dir1");
    const int row = listTexts(dirs).indexOf("floppy");
    ASSERT_GE(row, 0);
    dirs->setCurrentRow(row);
    QTest::keyClick(dirs, Qt::Key_Return); // as a double click does
    EXPECT_EQ(w.folder(), QDir(files.path()).filePath("floppy"));
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "File1")),
              (QStringList{"s123405.dat", "S999901.DAT"}));
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              (QStringList{"Admin File 1", "Admin File 2"}));
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label1")->text(), "Files = 2");
    EXPECT_EQ(listTexts(dirs).value(0), "..");
    // The drive list shows the volume that holds the folder.
    EXPECT_EQ(findChildOrFail<QComboBox>(&w, "Drive1")->currentText(), QStorageInfo(w.folder()).rootPath());
}

TEST_F(ImportWindowTest, NewFlyersJoinTheStoredClubAndTheConfigurationFollowsTheFile)
{
    addClubsWithGap();
    writeAdminFile("S123405.DAT", {s3Record("05", "001", kSmith), s3Record("05", "002", kJones)});
    writeBirdFile("Z0105.001", {birdRecord("US08 ABC000001")});
    writeBirdFile("Z0105.002", {birdRecord("US08 ABC000002")});
    frmImportFiles& w = open();
    w.chooseAdminFile(0);
    EXPECT_EQ(w.windowTitle(), "Import Files from: Concourse 1234 Combine 05");
    findChildOrFail<QListWidget>(&w, "lstClubs")->setCurrentRow(1);
    auto* flyers = findChildOrFail<QListWidget>(&w, "lstImportFlyers");
    EXPECT_EQ(flyers->font().family(), admin_ui::fixedPitchFont().family());
    flyers->item(1)->setSelected(true);
    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(true);
    findChildOrFail<QCheckBox>(&w, "Check2")->setChecked(true);
    w.pressImport();
    // Hilltop is the second entry of the list but has ClubID 3.
    EXPECT_EQ(storedFlyers(), QStringList{kJones + QStringLiteral("@3")});
    EXPECT_EQ(updates, QStringList{"1234/05"});
    EXPECT_EQ(listTexts(flyers).value(1), PadField(kJones, 20, u' ', true) + QStringLiteral("[X]"));
    EXPECT_EQ(listTexts(flyers).value(0), PadField(kSmith, 20, u' ', true) + QStringLiteral("[   ]"));
    auto* import = findChildOrFail<QPushButton>(&w, "cmdSend");
    EXPECT_TRUE(import->isEnabled());

    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(false);
    w.pressImport();
    EXPECT_EQ(storedFlyers(), (QStringList{kJones + QStringLiteral("@3"), kSmith + QStringLiteral("@3")}));
    EXPECT_TRUE(dialogs.log().empty());
    // A file whose flyers are all stored leaves Import off; pressed anyway, it says so.
    w.chooseAdminFile(0);
    EXPECT_FALSE(import->isEnabled());
    const int shown = progress.timesShown();
    w.pressImport();
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label1")->text(), "Flyers already imported.");
    EXPECT_FALSE(findChildOrFail<QLabel>(&w, "Label1")->isHidden());
    EXPECT_EQ(progress.timesShown(), shown);
}

TEST_F(ImportWindowTest, WithoutClubsTheUserIsSentToAddOne)
{
    frmImportFiles& w = open();
    EXPECT_EQ(dialogs.texts(), QStringList{"You must first enter a club"});
    EXPECT_TRUE(dialogs.log()[0].box.title.isEmpty());
    EXPECT_EQ(clubsOpened, 1);
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_EQ(findChildOrFail<QListWidget>(&w, "lstClubs")->count(), 0);
}
