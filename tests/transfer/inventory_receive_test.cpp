#include "admin/club_rules.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer_fixture.h"

namespace {

class ReceiveInventoryTest : public TransferTest {
protected:
    // The module holds this flyer's inventory.
    void moduleHolds(const QString& flyerName, const QStringList& birds)
    {
        sim.update([&](ClockScenario& s) {
            s.s1 = buildS1Record(settings);
            s.s2 = buildS2Record(settings, 1, "Riverside");
            s.s3 = buildS3Record(settings, 1, 9, flyerName);
            s.birds = birds;
        });
    }

    ReceiveResult receive(const ReceiveRequest& request = {})
    {
        return receiveInventory(link(), dialogs, progress, db.database(), request);
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
    link().flags.admin = true; // a series an earlier operation left open is started afresh

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

TEST_F(ReceiveInventoryTest, MissingFlyerWithOneClubIsCreatedWithAllBirdsUnlessDeclined)
{
    const int club = db.addClub("Riverside");
    moduleHolds("Pat O'Brien", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "2222222222")});
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(receive().outcome, ReceiveOutcome::FlyerDeclined);
    EXPECT_TRUE(db.data().searchFlyers({}).value.empty());
    EXPECT_TRUE(allBirds().empty());
    dialogs.clearLog();
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

TEST_F(ReceiveInventoryTest, MissingFlyerWithSeveralClubsNeedsTheFlyersWindow)
{
    db.addClub("Riverside");
    db.addClub("Hilltop");
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
    EXPECT_FALSE(progress.isShown());
}

TEST_F(ReceiveInventoryTest, NoClubsSendsNothingAndAsksForAClub)
{
    moduleHolds("John Smith", {});
    EXPECT_EQ(receive().outcome, ReceiveOutcome::NoClubs);
    EXPECT_EQ(dialogs.texts(), QStringList{"No Clubs in Database.\r\nPlease add club first"});
    EXPECT_TRUE(sim.commands().isEmpty());
}

TEST_F(ReceiveInventoryTest, UnfinishedOrOversizedSeriesStoresNothing)
{
    const int john = db.addFlyer("John Smith", db.addClub("Riverside"));
    db.addBird(john, "US24 ABC000001", "1111111111");
    QStringList birds501;
    for (int i = 1; i <= 501; ++i)
        birds501 << z(QStringLiteral("US24 ABC%1").arg(i, 6, 10, QLatin1Char('0')), "9999999999");
    const QStringList two = birds501.mid(0, 2);
    const ReceiveOutcome failed = ReceiveOutcome::ExchangeFailed;
    QByteArray spoiled = ClockDevice::frameAnswer(wire(buildS1Record(settings)));
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    const struct {
        const char* what;
        QStringList birds;            // the module holds John's inventory with these birds
        int unplugAfter;              // records served before the module falls silent; -1 never
        QList<QByteArray> rawAnswers; // answers after the version query, before the module's own
        ReceiveOutcome outcome;
        QString lastBox;
    } cases[] = {
        {"unplugged", two, 4, {}, failed, "No Corvex detected."},
        {"unreadable", two, -1, {ack(), spoiled}, failed, kUnreadableAnswer},
        {"ACK for ever", two, -1, QList<QByteArray>(22, ack()), failed, "The RBM did not end its inventory."},
        {"501 birds", birds501, -1, {}, ReceiveOutcome::TooManyBirds, "The RBM holds more than 500 birds"},
        {"cleared module", {}, -1, {}, ReceiveOutcome::NoInventory, "No inventory in RBM."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.clearLog();
        if (c.birds.isEmpty())
            sim.update([](ClockScenario& s) { s = ClockScenario{}; });
        else
            moduleHolds("John Smith", c.birds);
        sim.changeFaults([&](ClockFaults& f) { f.unplugAfterRecords = c.unplugAfter; });
        sim.replug();
        ReceiveRequest request;
        request.showClockStatus = [&] {
            for (const QByteArray& answer : c.rawAnswers)
                sim.queueRawAnswer(answer);
        };
        EXPECT_EQ(receive(request).outcome, c.outcome);
        EXPECT_TRUE(dialogs.texts().last().startsWith(c.lastBox)) << dialogs.texts().last().toStdString();
        ASSERT_EQ(allBirds().size(), 1u);
        EXPECT_EQ(allBirds()[0].elecnumber, "1111111111");
        EXPECT_FALSE(progress.isShown());
    }
}

// A full module's inventory, sent and received back, changes nothing.
TEST_F(ReceiveInventoryTest, FiveHundredBirdsSentComeBackUnchanged)
{
    // Answers come whole from the stand-in clock: a short settle keeps 1000 exchanges quick.
    exchange().setTimings({std::chrono::milliseconds(125), std::chrono::milliseconds(500),
                           std::chrono::milliseconds(2), std::chrono::milliseconds(500)});
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    ASSERT_TRUE(db.database().begin().ok());
    db.addBird(john, "US24 ABC000001", "1111111111", "BLUE");
    db.addBird(john, "US23  XY004711", "0000000000", "RED");
    db.addBird(john, "CA22ZZZZ123456", "A1B2C3D4E5");
    for (int i = 1; i <= 497; ++i)
        db.addBird(john, QStringLiteral("US25 ZZZ%1").arg(i, 6, 10, QLatin1Char('0')));
    ASSERT_TRUE(db.database().commit().ok());
    const std::vector<Bird> before = birdsOf(john);
    ASSERT_EQ(before.size(), 500u);

    SendInventoryRequest send;
    send.flyerName = "John Smith";
    send.settings = settings;
    const SendInventoryResult sent = sendInventory(link(), dialogs, progress, db.data(), send);
    ASSERT_EQ(sent.outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(dialogs.texts(), QStringList{"       Birds sent = 500"});
    dialogs.clearLog();
    const ReceiveResult result = receive();

    EXPECT_EQ(result.outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(result.counters.added, 0);
    EXPECT_EQ(result.counters.updated, 500);
    EXPECT_EQ(result.counters.changed, 0);
    EXPECT_EQ(result.inventory.s3, buildS3Record(settings, club, john, "John Smith"));
    const std::vector<Bird> after = birdsOf(john);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].band(), before[i].band());
        EXPECT_EQ(after[i].elecnumber, before[i].elecnumber);
        EXPECT_EQ(after[i].color, before[i].color);
        EXPECT_EQ(after[i].type, before[i].type);
        EXPECT_EQ(after[i].rowId, before[i].rowId);
    }
    EXPECT_EQ(allBirds().size(), 500u);
}

} // namespace
