#include "admin/flyer_rules.h"
#include "admin/windows/clock_transfers.h"
#include "admin/windows/frm_bird_inventory.h"
#include "admin/windows/frm_flyer_list.h"
#include "settings/settings_store.h"
#include "support/find_child.h"
#include "transfer_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class WindowTransferTest : public TransferTest {
protected:
    TransferServices services()
    {
        TransferServices s;
        s.clock = &link();
        s.dialogs = &dialogs;
        s.progress = &progress;
        s.databasePath = db.path();
        s.headerSettings = [this] { return settings; };
        s.openFlyerWindow = [this] {
            flyers = std::make_unique<frmFlyerList>(db.path(), dialogs);
            return flyers.get();
        };
        return s;
    }

    QTemporaryDir settingsDir;
    SettingsStore store{settingsDir.filePath("Corvex.conf")};
    std::unique_ptr<frmFlyerList> flyers;
};

// The send and receive buttons themselves run in the season test; this is the flyers window's part of a
// receive.
TEST_F(WindowTransferTest, SavingTheNewFlyerInTheFlyersWindowStoresTheReceivedBirds)
{
    db.addClub("Riverside");
    db.addClub("Hilltop");
    sim.update([this](ClockScenario& s) {
        s.s1 = buildS1Record(settings);
        s.s2 = buildS2Record(settings, 2, "Hilltop");
        s.s3 = buildS3Record(settings, 2, 5, "New Flyer");
        s.birds = {"ZUS24 ABC000001H55555555550"};
    });
    frmBirdInventory window(db.path(), dialogs, store);
    connectInventoryTransfers(window, services());
    dialogs.queueAnswer(Dialogs::Answer::Yes);

    auto* receive = findChildOrFail<QPushButton>(&window, QStringLiteral("cmdReceiveBirds"));
    ASSERT_TRUE(receive);
    receive->click();
    ASSERT_TRUE(flyers);
    EXPECT_EQ(flyers->mode(), flyer::Mode::Adding);
    EXPECT_EQ(dialogs.texts().last(), "Please choose a club for New Flyer.");
    auto* name = findChildOrFail<QLineEdit>(flyers.get(), QStringLiteral("txtFlyerName"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text().trimmed(), "New Flyer");
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());

    auto* clubs = findChildOrFail<QComboBox>(flyers.get(), QStringLiteral("cboClubList"));
    ASSERT_TRUE(clubs);
    clubs->setCurrentIndex(1);
    dialogs.clearLog();
    flyers->pressSave();

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Data successfully retrieved for New Flyer.\r\n\r\n"
                                                          "Birds Updated = 0\r\nBirds Added = 1")});
    const auto stored = db.data().flyerByName(QStringLiteral("New Flyer"));
    ASSERT_TRUE(stored.value);
    EXPECT_EQ(stored.value->ClubID, 2);
    ASSERT_EQ(birdsOf(stored.value->FlyerID).size(), 1u);
    EXPECT_EQ(birdsOf(stored.value->FlyerID)[0].elecnumber, "5555555555");
    ASSERT_TRUE(window.chosenFlyer());
    EXPECT_EQ(window.chosenFlyer()->Name, "New Flyer");
}

} // namespace
