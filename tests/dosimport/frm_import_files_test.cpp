#include "admin/windows/window_support.h"
#include "dos_fixture.h"
#include "dosimport/windows/frm_import_files.h"
#include "support/find_child.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QStorageInfo>

namespace {

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

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
        db.addClub(QStringLiteral("Gone"));
        db.addClub(QStringLiteral("Riverside"));
        db.addClub(QStringLiteral("Hilltop"));
        QSqlQuery query(db.database().connection());
        ASSERT_TRUE(query.exec(QStringLiteral("DELETE FROM clubs WHERE ClubName = 'Gone'")));
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

const QString kSmith = QStringLiteral("John Smith");
const QString kJones = QStringLiteral("Mary Jones");

} // namespace

TEST_F(ImportWindowTest, AFolderWithoutAdminFilesListsNoneAndLeavesImportOff)
{
    addClubsWithGap();
    frmImportFiles& w = open();
    EXPECT_EQ(itemTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              QStringList{QStringLiteral("No Flyer Files Found")});
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label8")->text(), QStringLiteral("Clubs = 2"));
    auto* clubs = findChildOrFail<QListWidget>(&w, "lstClubs");
    EXPECT_EQ(itemTexts(clubs), (QStringList{QStringLiteral("Riverside"), QStringLiteral("Hilltop")}));
    EXPECT_EQ(clubs->currentRow(), 0);
    EXPECT_EQ(findChildOrFail<QCheckBox>(&w, "Check1")->text(),
              QStringLiteral("Import selected flyers only."));
    EXPECT_EQ(findChildOrFail<QCheckBox>(&w, "Check2")->text(),
              QStringLiteral("Update configuration settings for this Admin file."));
    EXPECT_EQ(findChildOrFail<QPushButton>(&w, "cmdSend")->text(), QStringLiteral("Import"));
    EXPECT_EQ(findChildOrFail<QPushButton>(&w, "cmdCancel")->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(findChildOrFail<QComboBox>(&w, "Drive1"));
    EXPECT_TRUE(findChildOrFail<QListWidget>(&w, "File1"));
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ImportWindowTest, FoldersAreEnteredByDoubleClickAndListTheirFiles)
{
    db.addClub(QStringLiteral("Riverside"));
    QDir(files.path()).mkdir(QStringLiteral("floppy"));
    write(QStringLiteral("floppy/s123405.dat"), "");
    write(QStringLiteral("floppy/S999901.DAT"), "");
    frmImportFiles& w = open();
    auto* dirs = findChildOrFail<QListWidget>(&w, "Dir1");
    const int row = itemTexts(dirs).indexOf(QStringLiteral("floppy"));
    ASSERT_GE(row, 0);
    emit dirs->itemDoubleClicked(dirs->item(row));
    EXPECT_EQ(w.folder(), QDir(files.path()).filePath(QStringLiteral("floppy")));
    EXPECT_EQ(itemTexts(findChildOrFail<QListWidget>(&w, "File1")),
              (QStringList{QStringLiteral("s123405.dat"), QStringLiteral("S999901.DAT")}));
    EXPECT_EQ(itemTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              (QStringList{QStringLiteral("Admin File 1"), QStringLiteral("Admin File 2")}));
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label1")->text(), QStringLiteral("Files = 2"));
    EXPECT_EQ(itemTexts(dirs).value(0), QStringLiteral(".."));
    // The drive list shows the volume that holds the folder.
    EXPECT_EQ(findChildOrFail<QComboBox>(&w, "Drive1")->currentText(), QStorageInfo(w.folder()).rootPath());
}

TEST_F(ImportWindowTest, AFileOfStoredFlyersMarksThemAllAndRefusesToImport)
{
    db.addClub(QStringLiteral("Riverside"));
    db.addFlyer(kSmith);
    db.addFlyer(kJones);
    writeAdminFile(QStringLiteral("S123405.DAT"),
                   {s3Record(QStringLiteral("05"), QStringLiteral("001"), kSmith),
                    s3Record(QStringLiteral("05"), QStringLiteral("002"), kJones)});
    frmImportFiles& w = open();
    w.chooseAdminFile(0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Import Files from: Concourse 1234 Combine 05"));
    auto* flyers = findChildOrFail<QListWidget>(&w, "lstImportFlyers");
    EXPECT_EQ(itemTexts(flyers), (QStringList{PadField(kSmith, 20, u' ', true) + QStringLiteral("[X]"),
                                              PadField(kJones, 20, u' ', true) + QStringLiteral("[X]")}));
    EXPECT_EQ(flyers->font().family(), admin_ui::fixedPitchFont().family());
    auto* import = findChildOrFail<QPushButton>(&w, "cmdSend");
    EXPECT_FALSE(import->isEnabled());
    w.pressImport();
    auto* status = findChildOrFail<QLabel>(&w, "Label1");
    EXPECT_EQ(status->text(), QStringLiteral("Flyers already imported."));
    EXPECT_FALSE(status->isHidden());
    EXPECT_FALSE(import->isEnabled());
    EXPECT_EQ(progress.timesShown(), 0);
}

TEST_F(ImportWindowTest, SelectedOnlyWithoutSelectionStoresNothing)
{
    db.addClub(QStringLiteral("Riverside"));
    writeAdminFile(QStringLiteral("S123405.DAT"),
                   {s3Record(QStringLiteral("05"), QStringLiteral("001"), kSmith)});
    frmImportFiles& w = open();
    w.chooseAdminFile(0);
    EXPECT_TRUE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(true);
    w.pressImport();
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label1")->text(), QStringLiteral("Flyer(s) imported."));
    EXPECT_TRUE(storedFlyers().isEmpty());
    EXPECT_TRUE(updates.isEmpty());
}

TEST_F(ImportWindowTest, NewFlyersJoinTheStoredClubAndTheConfigurationFollowsTheFile)
{
    addClubsWithGap();
    writeAdminFile(QStringLiteral("S123405.DAT"),
                   {s3Record(QStringLiteral("05"), QStringLiteral("001"), kSmith),
                    s3Record(QStringLiteral("05"), QStringLiteral("002"), kJones)});
    writeBirdFile(QStringLiteral("Z0105.001"), {birdRecord(QStringLiteral("US08 ABC000001"))});
    writeBirdFile(QStringLiteral("Z0105.002"), {birdRecord(QStringLiteral("US08 ABC000002"))});
    frmImportFiles& w = open();
    w.chooseAdminFile(0);
    findChildOrFail<QListWidget>(&w, "lstClubs")->setCurrentRow(1);
    auto* flyers = findChildOrFail<QListWidget>(&w, "lstImportFlyers");
    flyers->item(1)->setSelected(true);
    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(true);
    findChildOrFail<QCheckBox>(&w, "Check2")->setChecked(true);
    w.pressImport();
    // Hilltop is the second entry of the list but has ClubID 3.
    EXPECT_EQ(storedFlyers(), QStringList{kJones + QStringLiteral("@3")});
    EXPECT_EQ(updates, QStringList{QStringLiteral("1234/05")});
    EXPECT_EQ(itemTexts(flyers).value(1), PadField(kJones, 20, u' ', true) + QStringLiteral("[X]"));
    EXPECT_EQ(itemTexts(flyers).value(0), PadField(kSmith, 20, u' ', true) + QStringLiteral("[   ]"));
    EXPECT_TRUE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());

    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(false);
    w.pressImport();
    EXPECT_EQ(storedFlyers(), (QStringList{kJones + QStringLiteral("@3"), kSmith + QStringLiteral("@3")}));
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ImportWindowTest, WithoutClubsTheUserIsSentToAddOne)
{
    frmImportFiles& w = open();
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("You must first enter a club")});
    EXPECT_TRUE(dialogs.log()[0].box.title.isEmpty());
    EXPECT_EQ(clubsOpened, 1);
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_EQ(findChildOrFail<QListWidget>(&w, "lstClubs")->count(), 0);
}
