#include "admin/club_rules.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer_fixture.h"

namespace {

class ReceiveInventoryTest : public TransferTest {
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        NoClubEntry = false;
    }

    // The module holds this flyer's inventory.
    void moduleHolds(const QString& flyerName, const QStringList& birds)
    {
        sim.update([&](ClockScenario& s) {
            s.s1 = S1Record(settings);
            s.s2 = S2Record(settings, 1, "Riverside");
            s.s3 = S3Record(settings, 1, 9, flyerName);
            s.birds = birds;
        });
    }

    ReceiveResult receive(const ReceiveRequest& request = {})
    {
        return ReceiveInventory(link(), dialogs, progress, db.database(), request);
    }

    static QString z(const QString& band, const QString& ring, const QString& sex = "C",
                     const QString& type = "0")
    {
        return QLatin1Char('Z') + band + sex + ring + type;
    }

    std::vector<Bird> allBirds()
    {
        std::vector<Bird> all;
        const auto flyers = db.data().searchFlyers({});
        for (const Flyer& f : flyers.value)
            for (const Bird& b : birdsOf(f.FlyerID))
                all.push_back(b);
        return all;
    }
};

TEST_F(ReceiveInventoryTest, KnownBandsAreUpdatedUnknownAddedDuplicateRingsSkipped)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    const int mary = db.addFlyer("Mary Jones", club);
    db.addBird(john, "US24 ABC000001", "1111111111", "BLUE");
    db.addBird(john, "US24 ABC000002", "2222222222");
    // Another flyer's bird without a ring, and one with the ring the module gives an unknown band.
    db.addBird(mary, "US24 MRY000001");
    db.addBird(mary, "US24 MRY000002", "7777777777");
    moduleHolds("John Smith", {z("US24 ABC000001", "1111111111"), // same ring
                               z("US24 ABC000002", "3333333333"), // new ring
                               z("US24 ABC000003", "0000000000", "H",
                                 "1"),                              // no ring: added
                               z("US24 ABC000004", "7777777777")}); // Mary's ring

    QStringList shownFlyer;
    ReceiveRequest request;
    request.showFlyer = [&](const QString& name) { shownFlyer << name; };
    const ReceiveResult result = receive(request);

    EXPECT_EQ(result.outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(
        dialogs.texts(),
        (QStringList{"Duplicate electronic numbers (7777777777) not allowed.",
                     QStringLiteral("Data successfully retrieved for John Smith.\r\n\r\nBirds Added = 1\r\n"
                                    "Birds Updated = 2\r\nAssignments changed = 1")}));
    EXPECT_EQ(shownFlyer, QStringList{"John Smith"});

    const std::vector<Bird> birds = birdsOf(john);
    ASSERT_EQ(birds.size(), 3u);
    EXPECT_EQ(birds[0].elecnumber, "1111111111");
    EXPECT_EQ(birds[0].color, "BLUE"); // only the ring is touched
    EXPECT_EQ(birds[1].elecnumber, "3333333333");
    EXPECT_EQ(birds[2].band(), "US24 ABC000003");
    EXPECT_EQ(birds[2].sex, "H");
    EXPECT_EQ(birds[2].color, "NONE");
    EXPECT_EQ(birds[2].type, "1");
    EXPECT_EQ(birdsOf(mary).size(), 2u);

    EXPECT_TRUE(progress.events().contains("lower: 4 Blocks Transferred"));
    EXPECT_TRUE(progress.events().contains("upper: Updating list..."));
    EXPECT_TRUE(progress.events().contains("lower: Please wait"));
    EXPECT_FALSE(progress.isShown());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(commandsAfterQuery(),
              (QList<QByteArray>{"X", ack(), ack(), ack(), ack(), ack(), ack(), ack(), ack()}));
}

TEST_F(ReceiveInventoryTest, BandKnownForAnotherFlyerStaysWithThatFlyer)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    const int mary = db.addFlyer("Mary Jones", club);
    db.addBird(john, "US24 ABC000001");
    db.addBird(mary, "US24 MRY000001", "1111111111");
    moduleHolds("John Smith", {z("US24 MRY000001", "5555555555")});
    ASSERT_EQ(receive().outcome, ReceiveOutcome::Stored);
    ASSERT_EQ(birdsOf(mary).size(), 1u);
    EXPECT_EQ(birdsOf(mary)[0].elecnumber, "5555555555");
    EXPECT_EQ(birdsOf(john).size(), 1u);
}

TEST_F(ReceiveInventoryTest, FlyerWithoutBirdsGetsEveryBirdInserted)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    // Received birds are stored without a band test.
    db.addBird(db.addFlyer("Mary Jones", club), "US24 ABC000001", "1111111111");
    moduleHolds("John Smith", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "0000000000")});
    const ReceiveResult result = receive();
    EXPECT_EQ(result.outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Data successfully retrieved for John Smith.\r\n\r\n"
                                         "Birds Added = 2\r\nBirds Updated = 0\r\n"
                                         "Assignments changed = 0")});
    EXPECT_EQ(birdsOf(john).size(), 2u);
    EXPECT_FALSE(progress.events().contains("upper: Updating list..."));
}

TEST_F(ReceiveInventoryTest, MissingFlyerWithOneClubIsCreatedWithAllBirds)
{
    const int club = db.addClub("Riverside");
    moduleHolds("Pat O'Brien", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "2222222222")});
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    const ReceiveResult result = receive();

    EXPECT_EQ(result.outcome, ReceiveOutcome::FlyerCreated);
    ASSERT_EQ(dialogs.log().size(), 2u);
    // The apostrophe is cleaned away before the name is used.
    EXPECT_EQ(dialogs.log()[0].box.title, "Pat O Brien not in database");
    EXPECT_EQ(dialogs.log()[0].box.text, "Do you want to add this flyer and all their birds?");
    EXPECT_EQ(dialogs.log()[0].box.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs.log()[1].box.text, QStringLiteral("Data successfully retrieved for Pat O Brien.\r\n\r\n"
                                                        "Birds Updated = 0\r\nBirds Added = 2"));
    const auto flyer = db.data().flyerByName(QStringLiteral("Pat O Brien"));
    ASSERT_TRUE(flyer.value);
    EXPECT_EQ(flyer.value->Name, "Pat O Brien");
    EXPECT_EQ(flyer.value->ClubID, club);
    EXPECT_EQ(birdsOf(flyer.value->FlyerID).size(), 2u);
    EXPECT_FALSE(progress.isShown());
}

TEST_F(ReceiveInventoryTest, MissingFlyerDeclinedStoresNothing)
{
    db.addClub("Riverside");
    moduleHolds("New Flyer", {z("US24 ABC000001", "1111111111")});
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(receive().outcome, ReceiveOutcome::FlyerDeclined);
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());
    EXPECT_TRUE(allBirds().empty());
    EXPECT_FALSE(progress.isShown());
}

TEST_F(ReceiveInventoryTest, MissingFlyerWithSeveralClubsNeedsTheFlyersWindow)
{
    db.addClub("Riverside");
    const int second = db.addClub("Hilltop");
    const QStringList birds = {z("US24 ABC000001", "1111111111")};
    moduleHolds("New Flyer", birds);
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    const ReceiveResult result = receive();

    EXPECT_EQ(result.outcome, ReceiveOutcome::NeedsFlyerWindow);
    EXPECT_EQ(result.flyerName, "New Flyer");
    EXPECT_EQ(result.inventory.birds, birds);
    EXPECT_EQ(result.inventory.flyerName(), "New Flyer           ");
    EXPECT_EQ(chooseClubMessage(result.inventory.flyerName()), "Please choose a club for New Flyer.");
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());

    // The user picks the second club: the flyer and its birds are stored together.
    dialogs.clearLog();
    const ReceiveResult added = AddReceivedFlyer(db.database(), dialogs, result.inventory, second);
    EXPECT_EQ(added.outcome, ReceiveOutcome::FlyerCreated);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Data successfully retrieved for New Flyer.\r\n\r\n"
                                                          "Birds Updated = 0\r\nBirds Added = 1")});
    const auto flyer = db.data().flyerByName(QStringLiteral("New Flyer"));
    ASSERT_TRUE(flyer.value);
    EXPECT_EQ(flyer.value->ClubID, second);
    EXPECT_EQ(birdsOf(flyer.value->FlyerID).size(), 1u);
}

TEST_F(ReceiveInventoryTest, BirdsAreStoredForTheFlyerTheFlyersWindowSaved)
{
    const int club = db.addClub("Riverside");
    ReceivedInventory inventory;
    inventory.s3 = S3Record(settings, 1, 9, "New Flyer");
    inventory.birds = {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "2222222222")};
    // The user corrected the name before saving.
    const int flyer = db.addFlyer("New Flyer Sr", club);
    const auto counters = StoreReceivedBirds(db.database(), dialogs, inventory, "New Flyer Sr");
    ASSERT_TRUE(counters);
    EXPECT_EQ(counters->added, 2);
    EXPECT_EQ(birdsOf(flyer).size(), 2u);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Data successfully retrieved for New Flyer Sr.\r\n\r\n"
                                         "Birds Updated = 0\r\nBirds Added = 2")});
}

TEST_F(ReceiveInventoryTest, NoClubsSendsNothingAndAsksForAClub)
{
    moduleHolds("John Smith", {});
    EXPECT_EQ(receive().outcome, ReceiveOutcome::NoClubs);
    EXPECT_EQ(dialogs.texts(), QStringList{"No Clubs in Database.\r\nPlease add club first"});
    EXPECT_TRUE(NoClubEntry);
    EXPECT_TRUE(sim.commands().isEmpty());
}

TEST_F(ReceiveInventoryTest, FailedExchangeMidSeriesStoresNothing)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    db.addBird(john, "US24 ABC000001", "1111111111");
    moduleHolds("John Smith", {z("US24 ABC000001", "9999999999"), z("US24 ABC000002", "2222222222")});
    sim.changeFaults([](ClockFaults& f) { f.unplugAfterRecords = 4; });
    EXPECT_EQ(receive().outcome, ReceiveOutcome::ExchangeFailed);
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].startsWith("No Corvex detected."));
    ASSERT_EQ(birdsOf(john).size(), 1u);
    EXPECT_EQ(birdsOf(john)[0].elecnumber, "1111111111");
    EXPECT_FALSE(progress.isShown());
}

TEST_F(ReceiveInventoryTest, UnreadableAnswerStoresNothingAndSaysSo)
{
    const int club = db.addClub("Riverside");
    db.addFlyer("John Smith", club);
    moduleHolds("John Smith", {z("US24 ABC000002", "2222222222")});
    ReceiveRequest request;
    // After the version query: X accepted, then S1 with a spoiled checksum.
    request.showClockStatus = [&] {
        sim.queueRawAnswer(ack());
        QByteArray spoiled = ClockDevice::frameAnswer(wire(S1Record(settings)));
        spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
        sim.queueRawAnswer(spoiled);
    };
    EXPECT_EQ(receive(request).outcome, ReceiveOutcome::ExchangeFailed);
    EXPECT_EQ(dialogs.texts(), QStringList{kUnreadableAnswer});
    EXPECT_TRUE(allBirds().empty());
}

TEST_F(ReceiveInventoryTest, MoreBirdsThanAModuleHoldsAreRefused)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    QStringList birds;
    for (int i = 1; i <= 501; ++i)
        birds << z(QStringLiteral("US24 ABC%1").arg(i, 6, 10, QLatin1Char('0')), "0000000000");
    moduleHolds("John Smith", birds);
    EXPECT_EQ(receive().outcome, ReceiveOutcome::TooManyBirds);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "The RBM holds 501 birds; at most 500 can be received. Nothing was stored.")});
    EXPECT_TRUE(birdsOf(john).empty());
}

TEST_F(ReceiveInventoryTest, ClearedModuleHoldsNoFlyer)
{
    db.addClub("Riverside");
    EXPECT_EQ(receive().outcome, ReceiveOutcome::NoInventory);
    EXPECT_EQ(dialogs.texts(), QStringList{"No inventory in RBM."});
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());
}

TEST_F(ReceiveInventoryTest, SeriesLeftOpenEarlierStartsAfresh)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    moduleHolds("John Smith", {z("US24 ABC000001", "1111111111")});
    link().flags.admin = true;
    ASSERT_EQ(receive().outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(commandsAfterQuery().first(), QByteArray("X"));
    EXPECT_EQ(birdsOf(john).size(), 1u);
}

TEST_F(ReceiveInventoryTest, SentInventoryComesBackUnchanged)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    db.addBird(john, "US24 ABC000001", "1111111111", "BLUE");
    db.addBird(john, "US23  XY004711", "0000000000", "RED");
    db.addBird(john, "CA22ZZZZ123456", "A1B2C3D4E5");
    const std::vector<Bird> before = birdsOf(john);

    SendInventoryRequest send;
    send.flyerName = "John Smith";
    send.settings = settings;
    ASSERT_EQ(SendInventory(link(), dialogs, progress, db.data(), send).outcome, SendInventoryOutcome::Sent);
    dialogs.clearLog();
    const ReceiveResult result = receive();

    EXPECT_EQ(result.outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(result.counters.added, 0);
    EXPECT_EQ(result.counters.updated, 3);
    EXPECT_EQ(result.counters.changed, 0);
    EXPECT_EQ(result.inventory.s3, S3Record(settings, club, john, "John Smith"));
    const std::vector<Bird> after = birdsOf(john);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].band(), before[i].band());
        EXPECT_EQ(after[i].elecnumber, before[i].elecnumber);
        EXPECT_EQ(after[i].color, before[i].color);
        EXPECT_EQ(after[i].type, before[i].type);
        EXPECT_EQ(after[i].rowId, before[i].rowId);
    }
    EXPECT_EQ(allBirds().size(), 3u);
}

} // namespace
