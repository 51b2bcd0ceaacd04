#include "admin/windows/clock_transfers.h"
#include "admin/windows/frm_bird_inventory.h"
#include "admin/windows/frm_flyer_list.h"
#include "settings/settings_store.h"
#include "support/find_child.h"
#include "transfer_fixture.h"

#include <QComboBox>
#include <QPushButton>

// The send and receive buttons themselves run in the season test; this is the flyers window's part of a
// receive whose flyer is missing while there are several clubs: the window opens in add mode with the name,
// and saving the flyer there stores the received birds.
TEST_F(TransferTest, SavingTheNewFlyerInTheFlyersWindowStoresTheReceivedBirds)
{
    db.addClub("Riverside");
    const int hilltop = db.addClub("Hilltop");
    moduleHolds("New Flyer", {"ZUS24 ABC000001H55555555550"});
    SettingsStore store(db.folder() + "/Corvex.conf");
    std::unique_ptr<frmFlyerList> flyers;
    TransferServices services;
    services.clock = &link();
    services.dialogs = &dialogs;
    services.progress = &progress;
    services.databasePath = db.path();
    services.openFlyerWindow = [&] {
        return (flyers = std::make_unique<frmFlyerList>(db.path(), dialogs)).get();
    };
    frmBirdInventory window(db.path(), dialogs, store);
    connectInventoryTransfers(window, services);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    findChildOrFail<QPushButton>(&window, QStringLiteral("cmdReceiveBirds"))->click();
    ASSERT_TRUE(flyers);
    findChildOrFail<QComboBox>(flyers.get(), QStringLiteral("cboClubList"))->setCurrentIndex(1);
    flyers->pressSave();

    EXPECT_EQ(dialogs.texts().mid(1), (QStringList{"Please choose a club for New Flyer.",
                                                   "Data successfully retrieved for New Flyer.\r\n\r\n"
                                                   "Birds Updated = 0\r\nBirds Added = 1"}));
    const auto stored = db.data().flyerByName(QStringLiteral("New Flyer")).value;
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->ClubID, hilltop);
    EXPECT_EQ(buildZRecord(birdsOf(stored->FlyerID).at(0)), "ZUS24 ABC000001H55555555550");
}
