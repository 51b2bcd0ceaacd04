#include "transfer/liberation_send.h"
#include "transfer_fixture.h"

namespace {

class SendLiberationsTest : public TransferTest {
protected:
    void addPoint(const QString& number, const QString& date = "0501", const QString& name = "Point",
                  const QString& type = "1")
    {
        ASSERT_TRUE(db.data().addLiberationPoint({0, number, date, name, type}).ok());
    }

    LiberationSendResult send(const std::function<void()>& afterQuery = {})
    {
        return sendLiberations(link(), dialogs, progress, db.data(), {}, afterQuery);
    }
};

// Three rows send exactly four commands: "IC0", then one "I0" record a row, in table order.
TEST_F(SendLiberationsTest, ClearsTheTableThenSendsEveryPointInTableOrder)
{
    addPoint("07", "0412", "Oklahoma City Ea");
    addPoint("02", "0704", "Enid");
    addPoint("15", "1231", "Wichita", "2");
    sim.update([](ClockScenario& s) { s.liberations = {"I099010101Old     1"}; });
    EXPECT_EQ(send().sent, 3);
    // The second version query comes right before "IC0", framed for the RBM.
    EXPECT_EQ(commandsAfterQuery(), (QList<QByteArray>{"v", "v", "e00", "IC0", "I0071204Oklahoma1",
                                                       "I0020407Enid    1", "I0153112Wichita 2"}));
    EXPECT_EQ(sim.frames().at(6).raw, QByteArray("\x02\x81IC0\x3D\x81\x03"));
    EXPECT_EQ(progress.events().filter("Races").last(), "lower: 3 Races Transferred");
    EXPECT_FALSE(progress.isShown() || port.isOpen());
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

// The clock takes 99 points; 100 are refused before its table is cleared.
TEST_F(SendLiberationsTest, NinetyNinePointsGoOutAHundredAreRefused)
{
    exchange().setTimings({std::chrono::milliseconds(125), std::chrono::milliseconds(500),
                           std::chrono::milliseconds(2), std::chrono::milliseconds(500)});
    ASSERT_TRUE(db.database().begin().ok());
    for (int i = 1; i <= 99; ++i)
        addPoint(QString::number(i));
    ASSERT_TRUE(db.database().commit().ok());
    EXPECT_EQ(send().sent, 99);
    addPoint("100");
    sim.clearFrames();
    EXPECT_EQ(send().outcome, LiberationSendOutcome::TooMany);
    EXPECT_EQ(
        dialogs.texts(),
        QStringList{"100 liberation points are stored; the Corvex takes at most 99. Nothing was sent."});
    EXPECT_TRUE(commandsAfterQuery().isEmpty());
    EXPECT_EQ(sim.scenario().liberations.size(), 99);
}

// "IC0" has emptied the clock's table, so the first failed exchange of any kind ends the send and says so.
TEST_F(SendLiberationsTest, StopsAtTheFirstFailedExchangeAndSaysWhatTheClockHolds)
{
    for (int i = 1; i <= 5; ++i)
        addPoint(QStringLiteral("0%1").arg(i));
    const QByteArray nak(1, control::NAK);
    const std::tuple<int, QList<QByteArray>, qsizetype> cases[] = {
        // answers accepted ("IC0" and the points before), the failure, boxes shown; every answer is to a
        // frame written, the NAK to the same frame twice
        {0, {QByteArray()}, 2}, // no answer to "IC0": the exchange's box too
        {3, {nak, nak}, 1},     // the third point refused twice
        {5, {spoiled("0")}, 1}, // a damaged answer to the last point
    };
    for (const auto& [accepted, failure, boxes] : cases) {
        SCOPED_TRACE(accepted);
        sim.clearFrames();
        dialogs.clearLog();
        const LiberationSendResult result = send([&] {
            // After the second version query.
            for (const char* text : {"v012301000000000000FF", "PV105", "e0000FF"})
                sim.queueAnswerText(text);
            for (int i = 0; i < accepted; ++i)
                sim.queueRawAnswer(ack());
            for (const QByteArray& answer : failure)
                sim.queueRawAnswer(answer);
        });
        EXPECT_EQ(result.outcome, LiberationSendOutcome::ExchangeFailed);
        const int sent = std::max(0, accepted - 1);
        EXPECT_EQ(result.sent, sent);
        EXPECT_EQ(commandsAfterQuery().size(), 3 + accepted + failure.size());
        EXPECT_EQ(dialogs.texts().size(), boxes);
        EXPECT_EQ(
            dialogs.texts().last(),
            QStringLiteral("The clock now holds %1 of 5 liberation points. Send them again.").arg(sent));
        EXPECT_FALSE(progress.isShown() || port.isOpen());
    }
}

} // namespace
