#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer_fixture.h"

#include <QRegularExpression>

namespace {

class ReceiveInventoryTest : public TransferTest {
protected:
    ReceiveResult receive(const ReceiveRequest& request = {})
    {
        return receiveInventory(link(), dialogs, progress, db.database(), request);
    }

    static QString z(const QString& band, const QString& ring) { return "Z" + band + "C" + ring + "0"; }

    QStringList allBirds()
    {
        QStringList all;
        for (const Flyer& f : db.data().searchFlyers({}).value)
            for (const Bird& b : birdsOf(f.FlyerID))
                all << buildZRecord(b);
        return all;
    }
};

// Known bands get the received ring (an assignment change only when it differs) and stay with their flyer;
// unknown bands are added to the module's flyer, unless their ring is another bird's. A bird without a ring
// is never taken for a duplicate.
TEST_F(ReceiveInventoryTest, KnownBandsAreUpdatedUnknownAddedDuplicateRingsSkipped)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    const int mary = db.addFlyer("Mary Jones", club);
    db.addBird(john, "US24 ABC000001", "1111111111", "BLUE");
    db.addBird(john, "US24 ABC000002", "2222222222");
    db.addBird(mary, "US24 MRY000001");
    db.addBird(mary, "US24 MRY000002", "7777777777");
    moduleHolds("John Smith", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "3333333333"),
                               "ZUS24 ABC000003H00000000001", z("US24 ABC000004", "7777777777"),
                               z("US24 MRY000001", "5555555555")});
    link().flags.admin = true; // a series an earlier operation left open is started afresh

    QStringList shownFlyer;
    EXPECT_EQ(receive({{}, [&](const QString& name) { shownFlyer << name; }}).outcome,
              ReceiveOutcome::Stored);
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"Duplicate electronic numbers (7777777777) not allowed.",
                           "Data successfully retrieved for John Smith.\r\n\r\nBirds Added = 1\r\n"
                           "Birds Updated = 3\r\nAssignments changed = 2"}));
    EXPECT_EQ(shownFlyer, QStringList{"John Smith"});
    EXPECT_EQ(allBirds(), (QStringList{"ZUS24 ABC000001C11111111110", "ZUS24 ABC000002C33333333330",
                                       "ZUS24 ABC000003H00000000001", "ZUS24 MRY000001C55555555550",
                                       "ZUS24 MRY000002C77777777770"}));
    EXPECT_EQ(birdsOf(john)[0].color + birdsOf(john)[2].color, "BLUENONE"); // only the ring is touched
    // A count a bird record, then the list is updated.
    EXPECT_EQ(progress.events().filter(QRegularExpression("Blocks|upper")).mid(3),
              (QStringList{"lower: 4 Blocks Transferred", "lower: 5 Blocks Transferred",
                           "upper: Updating list..."}));
    EXPECT_FALSE(progress.isShown() || port.isOpen());
    EXPECT_EQ(commandsAfterQuery(), QList<QByteArray>{"X"} + QList<QByteArray>(9, ack()));
}

// Rings updated and birds added in one transaction: a bird the database refuses undoes the rings already
// changed, and nothing is said to have been stored.
TEST_F(ReceiveInventoryTest, ABirdTheDatabaseRefusesUndoesTheWholeReceive)
{
    db.addBird(db.addFlyer("John Smith", db.addClub("Riverside")), "US24 ABC000001", "1111111111");
    moduleHolds("John Smith", {z("US24 ABC000001", "3333333333"), z("US24 ABC000002", "4444444444")});
    ASSERT_TRUE(
        QSqlQuery(db.database().connection())
            .exec("CREATE TRIGGER refuse BEFORE INSERT ON birds BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_EQ(receive().outcome, ReceiveOutcome::DatabaseError);
    EXPECT_EQ(allBirds(), QStringList{"ZUS24 ABC000001C11111111110"});
    EXPECT_FALSE(dialogs.texts().join("").contains("successfully"));
}

// Stored without birds: every received bird is inserted, whatever other flyers hold.
TEST_F(ReceiveInventoryTest, FlyerWithoutBirdsGetsEveryBirdInserted)
{
    const int club = db.addClub("Riverside");
    const int john = db.addFlyer("John Smith", club);
    db.addBird(db.addFlyer("Mary Jones", club), "US24 ABC000001", "1111111111");
    moduleHolds("John Smith", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "0000000000")});
    EXPECT_EQ(receive().outcome, ReceiveOutcome::Stored);
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Data successfully retrieved for John Smith.\r\n\r\n"
                          "Birds Added = 2\r\nBirds Updated = 0\r\nAssignments changed = 0"});
    EXPECT_EQ(birdsOf(john).size(), 2u);
}

// Flyer missing and exactly one club: created with that club and every bird, unless the user says No.
TEST_F(ReceiveInventoryTest, MissingFlyerWithOneClubIsCreatedWithAllBirdsUnlessDeclined)
{
    const int club = db.addClub("Riverside");
    moduleHolds("Pat O'Brien", {z("US24 ABC000001", "1111111111"), z("US24 ABC000002", "2222222222")});
    dialogs.queueAnswer(Dialogs::Answer::No);
    EXPECT_EQ(receive().outcome, ReceiveOutcome::FlyerDeclined);
    EXPECT_TRUE(allBirds().empty());
    dialogs.clearLog();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    EXPECT_EQ(receive().outcome, ReceiveOutcome::FlyerCreated);
    // The apostrophe is cleaned away before the name is used.
    EXPECT_EQ(dialogs.lines(), (QStringList{"[Pat O Brien not in database] Do you want to add this flyer and "
                                            "all their birds?",
                                            "[] Data successfully retrieved for Pat O Brien.\r\n\r\n"
                                            "Birds Updated = 0\r\nBirds Added = 2"}));
    const auto flyer = db.data().flyerByName(QStringLiteral("Pat O Brien"));
    ASSERT_TRUE(flyer.value);
    EXPECT_EQ(flyer.value->ClubID, club);
    EXPECT_EQ(birdsOf(flyer.value->FlyerID).size(), 2u);
}

TEST_F(ReceiveInventoryTest, NoClubsSendsNothingAndAsksForAClub)
{
    EXPECT_EQ(receive().outcome, ReceiveOutcome::NoClubs);
    EXPECT_EQ(dialogs.texts(), QStringList{"No Clubs in Database.\r\nPlease add club first"});
    EXPECT_TRUE(sim.commands().isEmpty());
}

// A series that fails, never ends, holds more birds than a module can, or no flyer stores nothing.
TEST_F(ReceiveInventoryTest, UnfinishedOrOversizedSeriesStoresNothing)
{
    db.addBird(db.addFlyer("John Smith", db.addClub("Riverside")), "US24 ABC000001", "1111111111");
    QStringList birds501;
    for (int i = 1; i <= 501; ++i)
        birds501 << z(QStringLiteral("US24 ABC%1").arg(i, 6, 10, QLatin1Char('0')), "9999999999");
    const QStringList two = birds501.mid(0, 2);
    const std::tuple<QStringList, int, QList<QByteArray>, QString> cases[] = {
        // the module's birds (none: no inventory), records served before it falls silent (-1 never),
        // answers after the version query before the module's own, the last box
        {two, 4, {}, "No Corvex detected."},
        {two, -1, {ack(), spoiled(wire(buildS1Record(settings)))}, kUnreadableAnswer},
        {two, -1, QList<QByteArray>(22, ack()), "The RBM did not end its inventory."},
        {birds501, -1, {}, "The RBM holds more than 500 birds"},
        {{}, -1, {}, "No inventory in RBM."},
    };
    for (const auto& [birds, unplugAfter, rawAnswers, lastBox] : cases) {
        SCOPED_TRACE(lastBox.toStdString());
        dialogs.clearLog();
        if (birds.isEmpty())
            sim.update([](ClockScenario& s) { s = ClockScenario{}; });
        else
            moduleHolds("John Smith", birds);
        sim.changeFaults([&](ClockFaults& f) { f.unplugAfterRecords = unplugAfter; });
        sim.replug();
        EXPECT_NE(receive({[&] {
                               for (const QByteArray& answer : rawAnswers)
                                   sim.queueRawAnswer(answer);
                           },
                           {}})
                      .outcome,
                  ReceiveOutcome::Stored);
        EXPECT_TRUE(dialogs.texts().last().startsWith(lastBox)) << dialogs.texts().last().toStdString();
        EXPECT_EQ(allBirds(), QStringList{"ZUS24 ABC000001C11111111110"});
        EXPECT_FALSE(progress.isShown());
    }
}

// A full module's inventory, sent and received back, changes nothing.
TEST_F(ReceiveInventoryTest, FiveHundredBirdsSentComeBackUnchanged)
{
    // Answers come whole from the stand-in clock: a short settle keeps 1000 exchanges quick.
    exchange().setTimings({std::chrono::milliseconds(125), std::chrono::milliseconds(500),
                           std::chrono::milliseconds(2), std::chrono::milliseconds(500)});
    const int john = db.addFlyer("John Smith", db.addClub("Riverside"));
    ASSERT_TRUE(db.database().begin().ok());
    db.addBird(john, "CA22ZZZZ123456", "A1B2C3D4E5");
    for (int i = 1; i <= 499; ++i)
        db.addBird(john, QStringLiteral("US25 ZZZ%1").arg(i, 6, 10, QLatin1Char('0')));
    ASSERT_TRUE(db.database().commit().ok());
    const QStringList before = allBirds();

    SendInventoryRequest send{"John Smith", false, {}, settings, {}, {}};
    ASSERT_EQ(sendInventory(link(), dialogs, progress, db.data(), send).birdsSent, 500);
    const ReceiveResult result = receive();
    EXPECT_EQ(
        std::tuple(result.outcome, result.counters.added, result.counters.updated, result.counters.changed),
        std::tuple(ReceiveOutcome::Stored, 0, 500, 0));
    EXPECT_EQ(allBirds(), before);
}

} // namespace
