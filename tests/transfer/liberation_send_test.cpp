#include "transfer/liberation_send.h"
#include "transfer_fixture.h"

namespace {

class SendLiberationsTest : public TransferTest {
protected:
    void addPoint(const QString& number, const QString& date, const QString& name, const QString& type)
    {
        ASSERT_TRUE(db.data().addLiberationPoint({0, number, date, name, type}).ok());
    }

    LiberationSendResult send(const std::function<void()>& afterQuery = {})
    {
        return SendLiberations(link(), dialogs, progress, db.data(), {}, afterQuery);
    }
};

// Three rows send exactly four commands: "IC0", then one "I0" record a row in table order.
TEST_F(SendLiberationsTest, ClearsTheTableThenSendsEveryPointInTableOrder)
{
    addPoint("07", "0412", "Oklahoma City Ea", "1");
    addPoint("02", "0704", "Enid", "1");
    addPoint("15", "1231", "Wichita", "2");
    sim.update([](ClockScenario& s) { s.liberations = {"I099010101Old     1"}; });

    const LiberationSendResult result = send();
    EXPECT_EQ(result.outcome, LiberationSendOutcome::Sent);
    EXPECT_EQ(result.sent, 3);
    // The second version query comes right before "IC0".
    const QStringList records{"I0071204Oklahoma1", "I0020407Enid    1", "I0153112Wichita 2"};
    EXPECT_EQ(commandsAfterQuery(),
              (QList<QByteArray>{"v", "v", "e00", "IC0"} +
               QList<QByteArray>{wire(records[0]), wire(records[1]), wire(records[2])}));
    EXPECT_EQ(sim.frames().at(6).raw, QByteArray("\x02\x81IC0\x3D\x81\x03"));
    EXPECT_EQ(sim.scenario().liberations, records);
    EXPECT_EQ(progress.events().filter("Races Transferred"),
              (QStringList{"lower: 1 Races Transferred", "lower: 2 Races Transferred",
                           "lower: 3 Races Transferred"}));
    EXPECT_FALSE(progress.isShown());
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_FALSE(port.isOpen());
}

// The clock takes 99 points; 100 are refused before its table is cleared.
TEST_F(SendLiberationsTest, NinetyNinePointsGoOutAHundredAreRefused)
{
    exchange().setTimings({std::chrono::milliseconds(125), std::chrono::milliseconds(500),
                           std::chrono::milliseconds(2), std::chrono::milliseconds(500)});
    ASSERT_TRUE(db.database().begin().ok());
    for (int i = 1; i <= 99; ++i)
        addPoint(QString::number(i), "0501", "Point", "1");
    ASSERT_TRUE(db.database().commit().ok());
    const LiberationSendResult result = send();
    EXPECT_EQ(result.outcome, LiberationSendOutcome::Sent);
    EXPECT_EQ(result.sent, 99);
    EXPECT_EQ(sim.scenario().liberations.size(), 99);

    addPoint("100", "0501", "Point", "1");
    sim.clearFrames();
    EXPECT_EQ(send().outcome, LiberationSendOutcome::TooMany);
    EXPECT_EQ(dialogs.texts(), QStringList{"100 liberation points are stored; the Corvex takes at most 99. "
                                           "Nothing was sent."});
    EXPECT_TRUE(commandsAfterQuery().isEmpty());
    EXPECT_EQ(sim.scenario().liberations.size(), 99);
    EXPECT_EQ(progress.timesShown(), 1);
}

// "IC0" has emptied the clock's table, so the first failed exchange of any kind ends the send and says so.
TEST_F(SendLiberationsTest, StopsAtTheFirstFailedExchangeAndSaysWhatTheClockHolds)
{
    for (int i = 1; i <= 5; ++i)
        addPoint(QStringLiteral("0%1").arg(i), "0501", "Point", "1");
    QByteArray spoiled = ClockDevice::frameAnswer("0");
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    const struct {
        const char* what;
        int accepted; // "IC0" and the points before the failure
        QList<QByteArray> failure;
        int frames; // "IC0" and "I0" frames written
        qsizetype boxes;
    } cases[] = {
        {"no answer to IC0", 0, {QByteArray()}, 1, 2},
        {"NAK twice to the third point", 3, {control::text(control::NAK), control::text(control::NAK)}, 5, 1},
        {"bad checksum to the last point", 5, {spoiled}, 6, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim.clearFrames();
        dialogs.clearLog();
        // After the second version query.
        const auto answers = [&] {
            sim.queueAnswerText("v012301000000000000FF");
            sim.queueAnswerText("PV105");
            sim.queueAnswerText("e0000FF");
            for (int i = 0; i < c.accepted; ++i)
                sim.queueRawAnswer(ack());
            for (const QByteArray& answer : c.failure)
                sim.queueRawAnswer(answer);
        };
        const LiberationSendResult result = send(answers);
        EXPECT_EQ(result.outcome, LiberationSendOutcome::ExchangeFailed);
        const int sent = std::max(0, c.accepted - 1);
        EXPECT_EQ(result.sent, sent);
        EXPECT_EQ(commandsAfterQuery().size(), 3 + c.frames);
        EXPECT_EQ(dialogs.texts().size(), c.boxes);
        EXPECT_EQ(
            dialogs.texts().last(),
            QStringLiteral("The clock now holds %1 of 5 liberation points. Send them again.").arg(sent));
        EXPECT_FALSE(progress.isShown());
        EXPECT_FALSE(port.isOpen());
    }
}

} // namespace
