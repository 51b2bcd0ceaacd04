#include "transfer/inventory_send.h"
#include "transfer_fixture.h"

namespace {

class SendInventoryTest : public TransferTest {
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        club = db.addClub(QStringLiteral("Riverside"));
        flyer = db.addFlyer(QStringLiteral("John Smith"), club);
        // Listed by digits 3 to 6 of the band number: 0203 before 0500 before 9999.
        db.addBird(flyer, QStringLiteral("US24 ABC009999"), QStringLiteral("1111111111"));
        db.addBird(flyer, QStringLiteral("US24 ABC110203"), QStringLiteral("2222222222"));
        db.addBird(flyer, QStringLiteral("US23  XY000500"));
    }

    SendInventoryRequest request()
    {
        SendInventoryRequest r;
        r.flyerName = QStringLiteral("John Smith");
        r.settings = settings;
        return r;
    }

    SendInventoryResult send(const SendInventoryRequest& r)
    {
        return SendInventory(link(), dialogs, progress, db.data(), r);
    }

    QList<QByteArray> nameCheckOfClearedModule() const { return {"X", ack(), eot()}; }

    void moduleHolds(const QString& flyerName)
    {
        sim.update([&](ClockScenario& s) {
            s.s1 = S1Record(settings);
            s.s2 = S2Record(settings, 3, QStringLiteral("Other club"));
            s.s3 = S3Record(settings, 3, 5, flyerName);
            s.birds = {QStringLiteral("ZUS2201ABCD000001C00000000001")};
        });
    }

    int club = 0;
    int flyer = 0;
};

TEST_F(SendInventoryTest, ThreeBirdsGoOutAsHeadersAndBirdRecordsAfterTheNameCheck)
{
    bool refreshed = false;
    SendInventoryRequest r = request();
    r.refreshWindow = [&] { refreshed = true; };
    const SendInventoryResult result = send(r);

    EXPECT_EQ(result.outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(result.birdsSent, 3);
    const QString s1 = QStringLiteral("S1          Tulsa               US");
    const QString s2 = QStringLiteral("S2   0701   Riverside            0001");
    const QString s3 = QStringLiteral("S3   0701001John Smith          00000000000000");
    const QStringList z = {QStringLiteral("ZUS24 ABC110203C22222222220"),
                           QStringLiteral("ZUS23  XY000500C00000000000"),
                           QStringLiteral("ZUS24 ABC009999C11111111110")};
    QList<QByteArray> expected = nameCheckOfClearedModule();
    for (const QString& record : QStringList{s1, s2, s3} + z)
        expected << wire(record);
    EXPECT_EQ(commandsAfterQuery(), expected);

    // Exact bytes on the wire: framed for the RBM.
    const std::vector<ReceivedFrame> frames = sim.frames();
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[6].raw, FrameCommand(wire(s1), kRbmAddress));
    EXPECT_EQ(frames[11].raw, FrameCommand(wire(z[2]), kRbmAddress));
    EXPECT_EQ(frames[4].raw, ack());

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("       Birds sent = 3")});
    EXPECT_TRUE(dialogs.log().front().box.title.isEmpty());
    EXPECT_TRUE(progress.events().contains(QStringLiteral("lower: Connecting...")));
    EXPECT_EQ(progress.events().filter(QStringLiteral("Birds Transferred")),
              (QStringList{QStringLiteral("lower: 1 Birds Transferred"),
                           QStringLiteral("lower: 2 Birds Transferred"),
                           QStringLiteral("lower: 3 Birds Transferred")}));
    EXPECT_FALSE(progress.isShown());
    EXPECT_TRUE(refreshed);
    EXPECT_FALSE(port.isOpen());
    // The module keeps what was sent.
    EXPECT_EQ(sim.scenario().birds, z);
    EXPECT_EQ(sim.scenario().s3, s3);
}

TEST_F(SendInventoryTest, ClubAndFlyerNumbersAreWrittenWithLeadingZeros)
{
    insertClubAndFlyer(7, QStringLiteral("Seven"), 42, QStringLiteral("Forty Two"));
    db.addBird(42, QStringLiteral("US24 ABC000001"));
    SendInventoryRequest r = request();
    r.flyerName = QStringLiteral("Forty Two");
    ASSERT_EQ(send(r).outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(sim.scenario().s2, QStringLiteral("S2   0707   Seven                0001"));
    EXPECT_EQ(sim.scenario().s3, QStringLiteral("S3   0707042Forty Two           00000000000000"));
}

TEST_F(SendInventoryTest, NumbersTooLongForTheRecordsAreRefusedBeforeAnythingIsSent)
{
    insertClubAndFlyer(100, QStringLiteral("Hundred"), 50, QStringLiteral("Big Club Flyer"));
    insertClubAndFlyer(8, QStringLiteral("Eight"), 1000, QStringLiteral("Big Number Flyer"));
    db.addBird(50, QStringLiteral("US24 ABC000001"));
    db.addBird(1000, QStringLiteral("US24 ABC000002"));
    for (const QString& name : {QStringLiteral("Big Club Flyer"), QStringLiteral("Big Number Flyer")}) {
        sim.clearFrames();
        dialogs.clearLog();
        SendInventoryRequest r = request();
        r.flyerName = name;
        EXPECT_EQ(send(r).outcome, SendInventoryOutcome::NumberTooLarge);
        EXPECT_TRUE(commandsAfterQuery().isEmpty());
        ASSERT_EQ(dialogs.texts().size(), 1);
        EXPECT_TRUE(dialogs.texts().front().contains(QStringLiteral("Nothing was sent")));
    }
    EXPECT_EQ(dialogs.texts().front(),
              QStringLiteral("Flyer number 1000 does not fit the RBM (at most 999). Nothing was sent."));
}

TEST_F(SendInventoryTest, ModuleOfTheSameFlyerIsOverwrittenWithoutAQuestion)
{
    moduleHolds(QStringLiteral("John Smith"));
    ASSERT_EQ(send(request()).outcome, SendInventoryOutcome::Sent);
    // X, then ACK answered by S1, S2 and S3; EOT ends the series there.
    EXPECT_EQ(commandsAfterQuery().mid(0, 6),
              (QList<QByteArray>{"X", ack(), ack(), ack(), eot(), wire(S1Record(settings))}));
    EXPECT_EQ(dialogs.texts(), QStringList{birdsSentText(3)});
}

TEST_F(SendInventoryTest, AnotherFlyersModuleAsksAndCancelSendsNothing)
{
    moduleHolds(QStringLiteral("Mary Jones"));
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(send(request()).outcome, SendInventoryOutcome::NameDeclined);

    ASSERT_EQ(dialogs.log().size(), 1u);
    const Dialogs::Box& box = dialogs.log().front().box;
    EXPECT_EQ(box.title, QStringLiteral("Different Names Detected"));
    EXPECT_EQ(box.text,
              QStringLiteral("The name in the memory module is different than the name being sent.\r\n"
                             "Are you sure you want to send this data?"));
    EXPECT_EQ(box.buttons, Dialogs::Buttons::OkCancel);
    EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"X", ack(), ack(), ack(), eot()}));
    EXPECT_EQ(progress.timesShown(), 0);
    EXPECT_EQ(sim.scenario().s3, S3Record(settings, 3, 5, QStringLiteral("Mary Jones")));
}

TEST_F(SendInventoryTest, AnotherFlyersModuleIsOverwrittenOnOk)
{
    moduleHolds(QStringLiteral("Mary Jones"));
    dialogs.queueAnswer(Dialogs::Answer::Ok);
    EXPECT_EQ(send(request()).outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(sim.scenario().birds.size(), 3);
}

TEST_F(SendInventoryTest, NameCheckEndsWhenTheModuleAnswersEot)
{
    SendInventoryRequest r = request();
    r.showClockStatus = [&] {
        sim.queueRawAnswer(ack());
        sim.queueRawAnswer(eot());
    };
    EXPECT_EQ(send(r).outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(commandsAfterQuery().mid(0, 4),
              (QList<QByteArray>{"X", ack(), eot(), wire(S1Record(settings))}));
}

TEST_F(SendInventoryTest, NameCheckEndsOnAFailedExchange)
{
    // One header record, then the module falls silent.
    sim.update([](ClockScenario& s) { s.s1 = QStringLiteral("S1 broken"); });
    sim.changeFaults([](ClockFaults& f) { f.unplugAfterRecords = 1; });
    const SendInventoryResult result = send(request());
    EXPECT_EQ(result.outcome, SendInventoryOutcome::NoConnection);
    EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"X", ack(), ack(), eot(), wire(S1Record(settings))}));
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("Check Connection to Corvex"));
    EXPECT_FALSE(progress.isShown());
}

TEST_F(SendInventoryTest, FlyerOverTheBirdLimitIsRefusedEvenWithASmallSelection)
{
    ASSERT_TRUE(db.database().begin().ok());
    for (int i = 0; i < 498; ++i)
        db.addBird(flyer, QStringLiteral("US24 ZZZ%1").arg(i + 1, 6, 10, QLatin1Char('0')));
    ASSERT_TRUE(db.database().commit().ok());
    SendInventoryRequest r = request();
    r.onlySelected = true;
    r.selectedBands = {QStringLiteral("US24 ABC009999")};
    EXPECT_EQ(send(r).outcome, SendInventoryOutcome::TooManyBirds);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("500 bird limit in RBM, please select 500 or less.")});
    EXPECT_EQ(commandsAfterQuery(), nameCheckOfClearedModule());
    EXPECT_FALSE(progress.isShown());
}

TEST_F(SendInventoryTest, SelectedBirdsOnly)
{
    SendInventoryRequest r = request();
    r.onlySelected = true;
    r.selectedBands = {QStringLiteral("US23  XY000500"), QStringLiteral("US24 ABC009999")};
    const SendInventoryResult result = send(r);
    EXPECT_EQ(result.outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("  2 selected birds sent")});
    EXPECT_EQ(sim.scenario().birds, (QStringList{QStringLiteral("ZUS23  XY000500C00000000000"),
                                                 QStringLiteral("ZUS24 ABC009999C11111111110")}));
}

TEST_F(SendInventoryTest, SelectedBandAlsoHeldByAnotherFlyerSendsTheChosenFlyersBird)
{
    const int other = db.addFlyer(QStringLiteral("Mary Jones"), club);
    // Stored first, so a look-up by band alone would find this one.
    Bird foreign = makeBird(other, QStringLiteral("US22 ABC123456"), QStringLiteral("9999999999"));
    ASSERT_TRUE(db.data().addBird(foreign).ok());
    db.addBird(flyer, QStringLiteral("US22 ABC123456"), QStringLiteral("3333333333"));
    SendInventoryRequest r = request();
    r.onlySelected = true;
    r.selectedBands = {QStringLiteral("US22 ABC123456")};
    ASSERT_EQ(send(r).outcome, SendInventoryOutcome::Sent);
    EXPECT_EQ(sim.scenario().birds, QStringList{QStringLiteral("ZUS22 ABC123456C33333333330")});
}

TEST_F(SendInventoryTest, NothingSelectedSendsNothing)
{
    SendInventoryRequest r = request();
    r.onlySelected = true;
    EXPECT_EQ(send(r).outcome, SendInventoryOutcome::NothingSelected);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("No birds selected, please make a selection.")});
    EXPECT_EQ(commandsAfterQuery(), nameCheckOfClearedModule());
    EXPECT_FALSE(progress.isShown());
}

TEST_F(SendInventoryTest, ModuleInRaceModeIsRefused)
{
    for (const QString& status : {QStringLiteral("1"), QStringLiteral("3")}) {
        sim.update([&](ClockScenario& s) { s.rbm.status = status; });
        sim.clearFrames();
        dialogs.clearLog();
        int statusShown = 0;
        SendInventoryRequest r = request();
        r.showClockStatus = [&] { ++statusShown; };
        EXPECT_EQ(send(r).outcome, SendInventoryOutcome::RaceMode);
        EXPECT_EQ(dialogs.texts(),
                  QStringList{QStringLiteral("Transmission not possible, RBM is in race mode!")});
        EXPECT_TRUE(commandsAfterQuery().isEmpty());
        EXPECT_EQ(statusShown, 1);
    }
}

TEST_F(SendInventoryTest, NoClockSaysTheDatabaseIsAllThatCanBeUsed)
{
    sim.setSilent(true);
    EXPECT_EQ(send(request()).outcome, SendInventoryOutcome::NoClock);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("No Corvex detected.")));
    EXPECT_EQ(
        dialogs.texts()[1],
        QStringLiteral("You may only use the database function until the Corvex is properly connected"));
}

TEST_F(SendInventoryTest, FlyerWithoutBirdsSendsNothingAndClosesTheProgressWindow)
{
    db.addFlyer(QStringLiteral("Empty Loft"), club);
    bool refreshed = false;
    SendInventoryRequest r = request();
    r.flyerName = QStringLiteral("Empty Loft");
    r.refreshWindow = [&] { refreshed = true; };
    EXPECT_EQ(send(r).outcome, SendInventoryOutcome::NoBirds);
    EXPECT_EQ(commandsAfterQuery(), nameCheckOfClearedModule());
    EXPECT_EQ(progress.timesShown(), 1);
    EXPECT_FALSE(progress.isShown());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_TRUE(refreshed);
}

TEST_F(SendInventoryTest, FailureOfTheFirstHeaderStopsTheSend)
{
    SendInventoryRequest r = request();
    // After the version query: X, ACK (a cleared record), EOT, then no answer to S1.
    r.showClockStatus = [&] {
        sim.queueRawAnswer(ack());
        sim.queueAnswerText("S1" + QByteArray(32, '*'));
        sim.queueRawAnswer(ack());
        sim.queueRawAnswer({});
    };
    EXPECT_EQ(send(r).outcome, SendInventoryOutcome::NoConnection);
    ASSERT_EQ(dialogs.texts().size(), 2);
    EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("No Corvex detected.")));
    EXPECT_EQ(dialogs.texts()[1], QStringLiteral("Check Connection to Corvex"));
    EXPECT_EQ(commandsAfterQuery().size(), 4);
    EXPECT_FALSE(progress.isShown());
}

TEST_F(SendInventoryTest, ABirdRecordThatFailsIsNotReportedAsSent)
{
    SendInventoryRequest r = request();
    r.showClockStatus = [&] {
        sim.queueRawAnswer(ack());
        sim.queueAnswerText("S1" + QByteArray(32, '*'));
        for (int i = 0; i < 5; ++i) // EOT, S1, S2, S3, first bird
            sim.queueRawAnswer(ack());
        sim.queueRawAnswer({});
    };
    const SendInventoryResult result = send(r);
    EXPECT_EQ(result.outcome, SendInventoryOutcome::Interrupted);
    EXPECT_EQ(result.birdsSent, 1);
    EXPECT_EQ(
        dialogs.texts().last(),
        QStringLiteral("Transmission interrupted after 1 of 3 birds. Please send the inventory again."));
    EXPECT_FALSE(dialogs.texts().contains(birdsSentText(3)));
}

} // namespace
