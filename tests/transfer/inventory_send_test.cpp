#include "transfer/inventory_send.h"
#include "transfer_fixture.h"

namespace {

class SendInventoryTest : public TransferTest {
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        club = db.addClub("Riverside");
        flyer = db.addFlyer("John Smith", club);
        // Listed by digits 3 to 6 of the band number: 0203 before 0500 before 9999.
        db.addBird(flyer, "US24 ABC009999", "1111111111");
        db.addBird(flyer, "US24 ABC110203", "2222222222");
        db.addBird(flyer, "US23  XY000500");
    }

    SendInventoryResult send(const QString& flyerName = "John Smith",
                             std::optional<QStringList> selected = {}, const ClockStatusHook& afterQuery = {})
    {
        SendInventoryRequest r{flyerName, selected.has_value(), selected.value_or(QStringList()),
                               settings,  afterQuery,           [this] { ++refreshed; }};
        return sendInventory(link(), dialogs, progress, db.data(), r);
    }

    int club = 0, flyer = 0, refreshed = 0;
};

// The records themselves go out in the season; here the order by digits 3 to 6 of the band number and what
// the user sees.
TEST_F(SendInventoryTest, BirdsGoOutInBandOrderCountedAsTheyGo)
{
    EXPECT_EQ(send().birdsSent, 3);
    EXPECT_EQ(sim.scenario().birds, (QStringList{"ZUS24 ABC110203C22222222220", "ZUS23  XY000500C00000000000",
                                                 "ZUS24 ABC009999C11111111110"}));
    EXPECT_EQ(progress.events().filter("lower:").last(), "lower: 3 Birds Transferred");
    EXPECT_FALSE(progress.isShown() || port.isOpen());
    EXPECT_EQ(refreshed, 1);
}

// The stored spelling and numbers go to the module, so the next send of the same flyer asks nothing, however
// it was typed and however long the name is.
TEST_F(SendInventoryTest, TheStoredNameAndNumbersGoToTheModule)
{
    insertClubAndFlyer(7, "Seven", 42, "Forty Two");
    db.addBird(42, "US24 ABC000001");
    db.addBird(db.addFlyer("Bartholomew Fitzgerald", club), "US24 ABC000002");
    for (const QString& typed : {QString("Bartholomew Fitzgerald"), QString("FORTY TWO ")}) {
        moduleHolds(typed.startsWith('F') ? "Forty Two" : typed);
        EXPECT_EQ(send(typed).outcome, SendInventoryOutcome::Sent) << typed.toStdString();
    }
    EXPECT_EQ(sim.scenario().s2 + sim.scenario().s3,
              "S2   0707   Seven                0001S3   0707042Forty Two           00000000000000");
}

// Refused before anything is sent: no clock, a module in race mode (status 1 and 3, not 2), and numbers too
// long for the records (they would shift every field behind them).
TEST_F(SendInventoryTest, RefusedBeforeAnythingIsSent)
{
    insertClubAndFlyer(100, "Hundred", 50, "Big Club Flyer");
    insertClubAndFlyer(8, "Eight", 1000, "Big Number Flyer");
    db.addBird(50, "US24 ABC000001");
    db.addBird(1000, "US24 ABC000002");
    const QString raceMode = "Transmission not possible, RBM is in race mode!";
    const std::tuple<QString, QString, QString> cases[] = {
        // status (empty: no clock answers), flyer, the last box
        {{}, "John Smith", "You may only use the database function until the Corvex is properly connected"},
        {"1", "John Smith", raceMode},
        {"3", "John Smith", raceMode},
        {"0", "Big Club Flyer", "Club number 100 does not fit the RBM (at most 99). Nothing was sent."},
        {"0", "Big Number Flyer", "Flyer number 1000 does not fit the RBM (at most 999). Nothing was sent."},
        {"2", "John Smith", "       Birds sent = 3"},
    };
    for (const auto& [status, flyerName, lastBox] : cases) {
        SCOPED_TRACE(lastBox.toStdString());
        sim.update([&](ClockScenario& s) { s.rbm.status = status; });
        sim.setSilent(status.isEmpty());
        sim.clearFrames();
        dialogs.clearLog();
        int statusShown = 0;
        send(flyerName, {}, [&] { ++statusShown; });
        // Without a clock the exchange has said so first.
        EXPECT_EQ(dialogs.texts().size(), status.isEmpty() ? 2 : 1);
        EXPECT_EQ(dialogs.texts().last(), lastBox);
        EXPECT_EQ(statusShown, status.isEmpty() ? 0 : 1);
        if (status != "2") {
            EXPECT_EQ(sim.commands().size(), status.isEmpty() ? 1 : 3);
            EXPECT_EQ(progress.timesShown(), 0);
        }
    }
}

TEST_F(SendInventoryTest, AnotherFlyersModuleAsksCancelSendsNothingOkOverwrites)
{
    moduleHolds("Mary Jones");
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(send().outcome, SendInventoryOutcome::NameDeclined);
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[Different Names Detected] The name in the memory module is different "
                          "than the name being sent.\r\nAre you sure you want to send this data?"});
    EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"X", ack(), ack(), ack(), eot()}));
    dialogs.queueAnswer(Dialogs::Answer::Ok);
    EXPECT_EQ(send().outcome, SendInventoryOutcome::Sent);
}

// Selected entries send the chosen flyer's own birds, even where another flyer holds the same band; a flyer
// of 501 birds is refused even when fewer are selected; a flyer without birds sends nothing.
TEST_F(SendInventoryTest, SelectedBirdsLimitsAndEmptyFlyers)
{
    ASSERT_TRUE(
        db.data().addBird(makeBird(db.addFlyer("Mary Jones", club), "US22 ABC123456", "9999999999")).ok());
    db.addBird(flyer, "US22 ABC123456", "3333333333");
    db.addFlyer("Empty Loft", club);
    const std::tuple<QString, QStringList, QString, QStringList> cases[] = {
        // flyer, selected bands, closing box, the bird records the module holds afterwards
        {"John Smith", {"US22 ABC123456"}, "  1 selected birds sent", {"ZUS22 ABC123456C33333333330"}},
        {"John Smith",
         {"US23  XY000500", "US24 ABC009999"},
         "  2 selected birds sent",
         {"ZUS23  XY000500C00000000000", "ZUS24 ABC009999C11111111110"}},
        {"John Smith", {}, "No birds selected, please make a selection.", {}},
        {"Empty Loft", {"x"}, {}, {}},
        {"John Smith", {"US24 ABC009999"}, "500 bird limit in RBM, please select 500 or less.", {}},
    };
    for (const auto& [flyerName, bands, box, module] : cases) {
        SCOPED_TRACE(box.toStdString());
        if (box.startsWith("500")) {
            ASSERT_TRUE(db.database().begin().ok());
            for (int i = 0; i < 497; ++i)
                db.addBird(flyer, QStringLiteral("US24 ZZZ%1").arg(i + 1, 6, 10, QLatin1Char('0')));
            ASSERT_TRUE(db.database().commit().ok());
        }
        sim.update([](ClockScenario& s) { s = ClockScenario{}, s.rbm.status = "0"; });
        sim.clearFrames();
        dialogs.clearLog();
        send(flyerName, bands);
        EXPECT_EQ(dialogs.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        EXPECT_EQ(sim.scenario().birds, module);
        if (module.isEmpty()) {
            EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"X", ack(), eot()}));
        }
        EXPECT_FALSE(progress.isShown());
    }
}

// Whatever the module answers, the name check ends, and only records the clock took count as sent.
TEST_F(SendInventoryTest, FailedOrEndlessAnswersEndTheNameCheckAndTheSend)
{
    const QByteArray cleared = ClockDevice::frameAnswer("S1" + QByteArray(32, '*')), nak(1, control::NAK);
    const QString sent = birdsSentText(3);
    const std::tuple<QList<QByteArray>, qsizetype, QString> cases[] = {
        // answers after the version query (the clock answers the rest), commands before S1, the last box
        {{ack(), eot()}, 3, sent},
        {{ack(), {}}, 3, sent}, // no answer in the name check
        {QList<QByteArray>(1 + 21, ack()), 23, sent},
        {{ack(), cleared, ack(), {}}, 3, "Check Connection to Corvex"}, // no answer to S1
        // S1, S2, S3 and the first bird taken, the second bird refused twice.
        {{ack(), cleared, ack(), ack(), ack(), ack(), ack(), nak, nak},
         3,
         "Transmission interrupted after 1 of 3 birds. Please send the inventory again."},
    };
    for (const auto& [answers, nameCheck, lastBox] : cases) {
        SCOPED_TRACE(lastBox.toStdString());
        sim.clearFrames();
        dialogs.clearLog();
        send("John Smith", {}, [&] {
            for (const QByteArray& answer : answers)
                sim.queueRawAnswer(answer);
        });
        const QList<QByteArray> commands = commandsAfterQuery();
        ASSERT_GT(commands.size(), nameCheck);
        EXPECT_EQ(commands[nameCheck - 1], eot());
        EXPECT_EQ(commands[nameCheck], wire(buildS1Record(settings)));
        EXPECT_EQ(dialogs.texts().last(), lastBox);
        EXPECT_FALSE(progress.isShown());
    }
}

} // namespace
