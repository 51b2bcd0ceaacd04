#include "dos_fixture.h"
#include "dosimport/windows/frm_import_files.h"
#include "platform/qt/window_support.h"
#include "support/find_child.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
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

} // namespace

TEST_F(ImportWindowTest, AFolderEnteredAndAFileChosenImportsIntoTheChosenClub)
{
    addClubsWithGap();
    QDir(files.path()).mkdir("floppy");
    write("floppy/s000001.dat", "");
    write("floppy/S123405.DAT",
          dosText({quoted(s3Record("05", "001", kSmith)), quoted(s3Record("05", "002", kJones))}));
    writeBirdFile("floppy/Z0105.002", {birdRecord("US08 ABC000002")});
    frmImportFiles& w = open();
    // The folder holds no administration file: none listed, Import off.
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              QStringList{"No Flyer Files Found"});
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "lstClubs")), (QStringList{"Riverside", "Hilltop"}));

    auto* dirs = findChildOrFail<QListWidget>(&w, "Dir1");
    dirs->setCurrentRow(listTexts(dirs).indexOf("floppy"));
    QTest::keyClick(dirs, Qt::Key_Return); // as a double click does
    EXPECT_EQ(listTexts(findChildOrFail<QListWidget>(&w, "lstAdminFiles")),
              (QStringList{"Admin File 1", "Admin File 2"}));

    w.chooseAdminFile(1);
    EXPECT_EQ(w.windowTitle(), "Import Files from: Concourse 1234 Combine 05");
    findChildOrFail<QListWidget>(&w, "lstClubs")->setCurrentRow(1);
    auto* flyers = findChildOrFail<QListWidget>(&w, "lstImportFlyers");
    flyers->item(1)->setSelected(true);
    findChildOrFail<QCheckBox>(&w, "Check1")->setChecked(true);
    findChildOrFail<QCheckBox>(&w, "Check2")->setChecked(true);
    findChildOrFail<QPushButton>(&w, "cmdSend")->click();
    // Hilltop is the second entry of the list but has ClubID 3.
    EXPECT_EQ(storedFlyers(), QStringList{kJones + QStringLiteral("@3")});
    EXPECT_EQ(updates, QStringList{"1234/05"});
    EXPECT_EQ(findChildOrFail<QLabel>(&w, "Label1")->text(), "Flyer(s) imported.");
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ImportWindowTest, WithoutClubsTheUserIsSentToAddOne)
{
    frmImportFiles& w = open();
    EXPECT_EQ(dialogs.texts(), QStringList{"You must first enter a club"});
    EXPECT_TRUE(dialogs.log()[0].box.title.isEmpty());
    EXPECT_EQ(clubsOpened, 1);
    EXPECT_FALSE(findChildOrFail<QPushButton>(&w, "cmdSend")->isEnabled());
}
