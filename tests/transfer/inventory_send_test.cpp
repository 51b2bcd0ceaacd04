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
                             std::optional<QStringList> selected = {},
                             const ClockStatusHook& showClockStatus = {})
    {
        SendInventoryRequest r;
        r.flyerName = flyerName;
        r.onlySelected = selected.has_value();
        r.selectedBands = selected.value_or(QStringList());
        r.settings = settings;
        r.showClockStatus = showClockStatus;
        r.refreshWindow = [this] { ++refreshed; };
        return SendInventory(link(), dialogs, progress, db.data(), r);
    }

    void moduleHolds(const QString& flyerName)
    {
        sim.update([&](ClockScenario& s) {
            s.s1 = S1Record(settings);
            s.s2 = S2Record(settings, 3, "Other club");
            s.s3 = S3Record(settings, 3, 5, flyerName);
            s.birds = {"ZUS2201ABCD000001C00000000001"};
        });
    }

    const QList<QByteArray> clearedNameCheck{"X", ack(), eot()};
    int club = 0;
    int flyer = 0;
    int refreshed = 0;
};

// Three birds: exactly six commands after the name check, S1, S2, S3 and a Z record each, framed for the
// RBM, and the closing text "       Birds sent = 3".
TEST_F(SendInventoryTest, ThreeBirdsGoOutAsHeadersAndBirdRecordsAfterTheNameCheck)
{
    const SendInventoryResult result = send();
    EXPECT_EQ(result.outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(result.birdsSent, 3);
    const QStringList z = {"ZUS24 ABC110203C22222222220", "ZUS23  XY000500C00000000000",
                           "ZUS24 ABC009999C11111111110"};
    const QString s3 = "S3   0701001John Smith          00000000000000";
    QList<QByteArray> expected = clearedNameCheck;
    for (const QString& record :
         QStringList{"S1          Tulsa               US", "S2   0701   Riverside            0001", s3} + z)
        expected << wire(record);
    EXPECT_EQ(commandsAfterQuery(), expected);
    const std::vector<ReceivedFrame> frames = sim.frames();
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[11].raw, "\x02\x81" + wire(z[2]) + FrameChecksum("\x81" + wire(z[2])) + "\x03");

    EXPECT_EQ(dialogs.texts(), QStringList{"       Birds sent = 3"});
    EXPECT_TRUE(dialogs.log().front().box.title.isEmpty());
    EXPECT_EQ(progress.events().filter("lower:"),
              (QStringList{"lower: Connecting...", "lower: 1 Birds Transferred", "lower: 2 Birds Transferred",
                           "lower: 3 Birds Transferred"}));
    EXPECT_FALSE(progress.isShown());
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(sim.scenario().birds, z);
    EXPECT_EQ(sim.scenario().s3, s3);
}

// The stored spelling and numbers go to the module, so the next send of the same flyer asks nothing, however
// it was typed and however long the name is.
TEST_F(SendInventoryTest, TheStoredNameAndNumbersGoToTheModule)
{
    insertClubAndFlyer(7, "Seven", 42, "Forty Two");
    db.addBird(42, "US24 ABC000001");
    db.addBird(db.addFlyer("Bartholomew Fitzgerald", club), "US24 ABC000002");
    for (const QString& typed : {QStringLiteral("FORTY TWO "), QStringLiteral("Bartholomew Fitzgerald")}) {
        SCOPED_TRACE(typed.toStdString());
        moduleHolds(typed.startsWith('F') ? "Forty Two" : typed);
        sim.clearFrames();
        ASSERT_EQ(send(typed).outcome, SendInventoryOutcome::Sent);
        // X, then ACK answered by S1, S2 and S3; EOT ends the series there.
        EXPECT_EQ(commandsAfterQuery().mid(0, 5), (QList<QByteArray>{"X", ack(), ack(), ack(), eot()}));
    }
    moduleHolds("Forty Two");
    ASSERT_EQ(send("Forty Two").outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(sim.scenario().s2, "S2   0707   Seven                0001");
    EXPECT_EQ(sim.scenario().s3, "S3   0707042Forty Two           00000000000000");
}

// Refused before anything is sent to the module: no clock, a module in race mode (status 1 and 3, not 2),
// and numbers too long for the records (they would shift every field behind them).
TEST_F(SendInventoryTest, RefusedBeforeAnythingIsSent)
{
    insertClubAndFlyer(100, "Hundred", 50, "Big Club Flyer");
    insertClubAndFlyer(8, "Eight", 1000, "Big Number Flyer");
    db.addBird(50, "US24 ABC000001");
    db.addBird(1000, "US24 ABC000002");
    using Out = SendInventoryOutcome;
    const QString raceMode = "Transmission not possible, RBM is in race mode!";
    const struct {
        QString status; // empty: no clock answers
        QString flyer;
        SendInventoryOutcome outcome;
        QString lastBox;
    } cases[] = {
        {{},
         "John Smith",
         Out::NoClock,
         "You may only use the database function until the Corvex is properly connected"},
        {"1", "John Smith", Out::RaceMode, raceMode},
        {"3", "John Smith", Out::RaceMode, raceMode},
        {"0", "Big Club Flyer", Out::NumberTooLarge,
         "Club number 100 does not fit the RBM (at most 99). Nothing was sent."},
        {"0", "Big Number Flyer", Out::NumberTooLarge,
         "Flyer number 1000 does not fit the RBM (at most 999). Nothing was sent."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lastBox.toStdString());
        sim.update([&](ClockScenario& s) { s.rbm.status = c.status; });
        sim.setSilent(c.status.isEmpty());
        sim.clearFrames();
        dialogs.clearLog();
        int statusShown = 0;
        EXPECT_EQ(send(c.flyer, {}, [&] { ++statusShown; }).outcome, c.outcome);
        // Without a clock the exchange has said so first.
        EXPECT_EQ(dialogs.texts().last(), c.lastBox);
        EXPECT_EQ(dialogs.texts().size(), c.status.isEmpty() ? 2 : 1);
        EXPECT_EQ(sim.commands().size(), c.status.isEmpty() ? 1 : 3);
        EXPECT_EQ(statusShown, c.status.isEmpty() ? 0 : 1);
        EXPECT_EQ(progress.timesShown(), 0);
    }
    sim.setSilent(false);
    sim.update([&](ClockScenario& s) { s.rbm.status = "2"; });
    EXPECT_EQ(send().outcome, Out::Sent);
}

TEST_F(SendInventoryTest, AnotherFlyersModuleAsksCancelSendsNothingOkOverwrites)
{
    moduleHolds("Mary Jones");
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(send().outcome, SendInventoryOutcome::NameDeclined);
    ASSERT_EQ(dialogs.log().size(), 1u);
    const Dialogs::Box& box = dialogs.log().front().box;
    EXPECT_EQ(box.title, "Different Names Detected");
    EXPECT_EQ(box.text, "The name in the memory module is different than the name being sent.\r\n"
                        "Are you sure you want to send this data?");
    EXPECT_EQ(box.buttons, Dialogs::Buttons::OkCancel);
    EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"X", ack(), ack(), ack(), eot()}));
    EXPECT_EQ(progress.timesShown(), 0);
    EXPECT_EQ(sim.scenario().s3, S3Record(settings, 3, 5, "Mary Jones"));

    dialogs.queueAnswer(Dialogs::Answer::Ok);
    EXPECT_EQ(send().outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(sim.scenario().birds.size(), 3);
}

// Selected entries send the chosen flyer's own birds, even where another flyer holds the same band.
TEST_F(SendInventoryTest, SelectedBirdsOnly)
{
    const int other = db.addFlyer("Mary Jones", club);
    ASSERT_TRUE(db.data().addBird(makeBird(other, "US22 ABC123456", "9999999999")).ok());
    db.addBird(flyer, "US22 ABC123456", "3333333333");
    const struct {
        QStringList bands;
        SendInventoryOutcome outcome;
        QString box;
        QStringList module; // the bird records the module holds afterwards
    } cases[] = {
        {{"US22 ABC123456"},
         SendInventoryOutcome::Sent,
         "  1 selected birds sent",
         {"ZUS22 ABC123456C33333333330"}},
        {{"US23  XY000500", "US24 ABC009999"},
         SendInventoryOutcome::Sent,
         "  2 selected birds sent",
         {"ZUS23  XY000500C00000000000", "ZUS24 ABC009999C11111111110"}},
        {{},
         SendInventoryOutcome::NothingSelected,
         "No birds selected, please make a selection.",
         {"ZUS23  XY000500C00000000000", "ZUS24 ABC009999C11111111110"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box.toStdString());
        dialogs.clearLog();
        EXPECT_EQ(send("John Smith", c.bands).outcome, c.outcome);
        EXPECT_EQ(dialogs.texts(), QStringList{c.box});
        EXPECT_EQ(sim.scenario().birds, c.module);
        EXPECT_FALSE(progress.isShown());
    }
}

// 501 birds are refused even when fewer are selected; 500 go out (the round trip of the receive tests).
TEST_F(SendInventoryTest, FlyerOverTheBirdLimitIsRefusedEvenWithASmallSelection)
{
    ASSERT_TRUE(db.database().begin().ok());
    for (int i = 0; i < 498; ++i)
        db.addBird(flyer, QStringLiteral("US24 ZZZ%1").arg(i + 1, 6, 10, QLatin1Char('0')));
    ASSERT_TRUE(db.database().commit().ok());
    EXPECT_EQ(send("John Smith", QStringList{"US24 ABC009999"}).outcome, SendInventoryOutcome::TooManyBirds);
    EXPECT_EQ(dialogs.texts(), QStringList{"500 bird limit in RBM, please select 500 or less."});
    EXPECT_EQ(commandsAfterQuery(), clearedNameCheck);
    EXPECT_FALSE(progress.isShown());
}

TEST_F(SendInventoryTest, FlyerWithoutBirdsSendsNothingAndClosesTheProgressWindow)
{
    db.addFlyer("Empty Loft", club);
    EXPECT_EQ(send("Empty Loft").outcome, SendInventoryOutcome::NoBirds);
    EXPECT_EQ(commandsAfterQuery(), clearedNameCheck);
    EXPECT_EQ(progress.timesShown(), 1);
    EXPECT_FALSE(progress.isShown());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(refreshed, 1);
}

// Whatever the module answers, the name check ends, and only records the clock took count as sent.
TEST_F(SendInventoryTest, FailedOrEndlessAnswersEndTheNameCheckAndTheSend)
{
    const QByteArray cleared = "S1" + QByteArray(32, '*');
    const QString sent = birdsSentText(3);
    using Out = SendInventoryOutcome;
    const struct {
        const char* what;
        QList<QByteArray> answers; // after the version query; the clock answers the rest
        SendInventoryOutcome outcome;
        qsizetype nameCheck; // commands before S1
        QString lastBox;
    } cases[] = {
        {"EOT", {ack(), eot()}, Out::Sent, 3, sent},
        {"no answer in the name check", {ack(), {}}, Out::Sent, 3, sent},
        {"ACK for ever", QList<QByteArray>(1 + 21, ack()), Out::Sent, 23, sent},
        {"no answer to S1", {ack(), cleared, ack(), {}}, Out::NoConnection, 3, "Check Connection to Corvex"},
        // S1, S2, S3 and the first bird taken, the second bird refused twice.
        {"NAK to the second bird",
         {ack(), cleared, ack(), ack(), ack(), ack(), ack(), control::text(control::NAK),
          control::text(control::NAK)},
         Out::Interrupted,
         3,
         "Transmission interrupted after 1 of 3 birds. Please send the inventory again."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim.clearFrames();
        dialogs.clearLog();
        const auto answers = [&] {
            for (const QByteArray& answer : c.answers)
                sim.queueRawAnswer(answer.size() > 1 ? ClockDevice::frameAnswer(answer) : answer);
        };
        EXPECT_EQ(send("John Smith", {}, answers).outcome, c.outcome);
        const QList<QByteArray> commands = commandsAfterQuery();
        ASSERT_GT(commands.size(), c.nameCheck);
        EXPECT_EQ(commands[c.nameCheck - 1], eot());
        EXPECT_EQ(commands[c.nameCheck], wire(S1Record(settings)));
        EXPECT_EQ(dialogs.texts().last(), c.lastBox);
        EXPECT_FALSE(progress.isShown());
    }
}

} // namespace
