#include "admin/flyer_rules.h"
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
    db.addClub("Hilltop");
    moduleHolds("New Flyer", {"ZUS24 ABC000001H55555555550"}, 2, "Hilltop");
    QTemporaryDir settingsDir;
    SettingsStore store(settingsDir.filePath("Corvex.conf"));
    std::unique_ptr<frmFlyerList> flyers;
    TransferServices services;
    services.clock = &link();
    services.dialogs = &dialogs;
    services.progress = &progress;
    services.databasePath = db.path();
    services.headerSettings = [this] { return settings; };
    services.openFlyerWindow = [&] {
        flyers = std::make_unique<frmFlyerList>(db.path(), dialogs);
        return flyers.get();
    };
    frmBirdInventory window(db.path(), dialogs, store);
    connectInventoryTransfers(window, services);
    dialogs.queueAnswer(Dialogs::Answer::Yes);

    findChildOrFail<QPushButton>(&window, QStringLiteral("cmdReceiveBirds"))->click();
    ASSERT_TRUE(flyers);
    EXPECT_EQ(flyers->mode(), flyer::Mode::Adding);
    EXPECT_EQ(dialogs.texts().last(), "Please choose a club for New Flyer.");
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());

    findChildOrFail<QComboBox>(flyers.get(), QStringLiteral("cboClubList"))->setCurrentIndex(1);
    dialogs.clearLog();
    flyers->pressSave();

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Data successfully retrieved for New Flyer.\r\n\r\n"
                                                          "Birds Updated = 0\r\nBirds Added = 1")});
    const auto stored = db.data().flyerByName(QStringLiteral("New Flyer"));
    ASSERT_TRUE(stored.value);
    EXPECT_EQ(stored.value->ClubID, 2);
    EXPECT_EQ(buildZRecord(birdsOf(stored.value->FlyerID).at(0)), "ZUS24 ABC000001H55555555550");
}
