#include "support/simulated_clock.h"

namespace {
const QByteArray ACK(1, 0x06);
const QByteArray EOT(1, 0x04);

void setInventory(ClockScenario& s)
{
    s.s1 = "S1          COMBINE             US";
    s.s2 = "S2   0107   CLUB                 0012";
    s.s3 = "S3   0107042JOHN MILLER         00000000000000";
    s.birds = {"ZUS24ABCD001234C00000000011", "ZUS24ABCD001235H00000000021"};
}
} // namespace

class SeriesFlagsTest : public SimulatedClockTest {};

// The letter starts a series, the clock's ACK sets the flag, records leave it set, EOT clears it, and the
// next read starts with the letter again. The two series have flags of their own.
TEST_F(SeriesFlagsTest, EachSeriesRunsFromItsLetterToEot)
{
    sim.update([](ClockScenario& s) { s.races = {"header", "clocking 1"}; });
    const struct {
        QByteArray letter;
        QByteArray (*read)(CommandExchange&, SeriesFlags&);
        bool SeriesFlags::*flag;
        bool SeriesFlags::*other;
        QList<QByteArray> records;
    } series[] = {
        {"X",
         ReadNextBlock,
         &SeriesFlags::admin,
         &SeriesFlags::race,
         {"S1" + QByteArray(32, '*'), "S2" + QByteArray(35, '*'), "S3" + QByteArray(44, '*')}},
        {"W", ReadNextRaceBlock, &SeriesFlags::race, &SeriesFlags::admin, {"header", "clocking 1"}},
    };
    for (const auto& c : series) {
        sim.clearFrames();
        const bool otherBefore = link().flags.*c.other;
        EXPECT_EQ(c.read(exchange(), link().flags), ACK);
        for (const QByteArray& record : c.records) {
            EXPECT_TRUE(link().flags.*c.flag);
            EXPECT_EQ(c.read(exchange(), link().flags), record);
        }
        EXPECT_EQ(link().flags.*c.other, otherBefore);
        EXPECT_EQ(c.read(exchange(), link().flags), EOT);
        EXPECT_FALSE(link().flags.*c.flag);
        EXPECT_EQ(c.read(exchange(), link().flags), ACK);
        EXPECT_EQ(sim.commands(), QList<QByteArray>{c.letter} + QList<QByteArray>(c.records.size() + 1, ACK) +
                                      QList<QByteArray>{c.letter});
        EXPECT_EQ(c.read(exchange(), link().flags), c.records.first()); // left open for the next series
    }
    EXPECT_TRUE(link().flags.admin && link().flags.race);
}

TEST_F(SeriesFlagsTest, FailureCodeKeepsTheFlagAndTheNextReadSendsAck)
{
    sim.update([](ClockScenario& s) { s.races = {"header", "clocking"}; });
    EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), ACK);
    sim.setSilent(true);
    EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), "E2");
    EXPECT_TRUE(link().flags.race);
    sim.setSilent(false);
    sim.clearFrames();
    // The unanswered ACK is asked again: the clock hands out the record it had not yet given.
    EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), "header");
    EXPECT_EQ(sim.commands(), QList<QByteArray>{ACK});
    EXPECT_EQ(dialogs.log().size(), 1u);
}

class AdminHeaderNameTest : public SimulatedClockTest {};

TEST_F(AdminHeaderNameTest, ReadsUpToS3SendsRAndLeavesTheFlagSet)
{
    sim.update(setInventory);
    QByteArray last;
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress, &last), "JOHN MILLER         ");
    EXPECT_TRUE(last.startsWith("S3"));
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"X", ACK, ACK, ACK, "R"}));
    EXPECT_TRUE(link().flags.admin);
    // The count includes the ACK that started the series: S1 shows as 2.
    EXPECT_EQ(progress.events(),
              (QStringList{"show", "lower: 2 Blocks Transferred", "lower: 3 Blocks Transferred",
                           "lower: 4 Blocks Transferred", "close"}));
    EXPECT_FALSE(progress.isShown());

    sim.clearFrames();
    ReadNextBlock(exchange(), link().flags);
    EXPECT_EQ(sim.commands(), QList<QByteArray>{ACK});
}

TEST_F(AdminHeaderNameTest, ShortS3GivesAShortOrEmptyName)
{
    sim.update([](ClockScenario& s) { s.s3 = "S3   0107042JOHN"; });
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "JOHN");
    link().flags = {};
    sim.update([](ClockScenario& s) { s.s3 = "S3   0107"; });
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
}

// Without these ends a silent, empty or endless module would keep the loop reading forever.
TEST_F(AdminHeaderNameTest, EndsWithAnEmptyNameWhereNoS3Comes)
{
    const QString ended = "The RBM did not end its inventory.";
    const struct {
        const char* what;
        int silent, badChecksum, unplugAfter;
        QList<QByteArray> raw; // answers before the module's own
        int birds;             // bird records after those
        qsizetype commands;
        QByteArray lastCommand;
        QString box; // the start of the one box shown, if any
        bool flagAfter;
    } cases[] = {
        {"silent", -1, 0, -1, {}, 0, 1, "X", "No Corvex detected.", false},
        {"EOT", 0, 0, -1, {ACK, EOT}, 0, 2, ACK, {}, false},
        {"damaged answer", 0, 1, -1, {}, 0, 2, ACK, {}, true},
        {"unplugged", 0, 0, 1, {}, 0, 3, ACK, "No Corvex detected.", true},
        // Past what a module holds the series is ended with EOT.
        {"ACK for ever", 0, 0, -1, QList<QByteArray>(22, ACK), 0, 1 + 20 + 1, EOT, ended, false},
        {"records for ever", 0, 0, -1, {ACK}, 3 + 500 + 1, 1 + 504 + 1, EOT, ended, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedClock clock;
        ASSERT_TRUE(clock.started());
        DeviceSerialPort devicePort;
        devicePort.setDevicePath(clock.devicePath());
        ScriptedDialogs boxes;
        ClockLink clockLink(devicePort, boxes, kShortTimings);
        clock.update(setInventory);
        clock.changeFaults([&](ClockFaults& f) {
            f.silentAnswers = c.silent;
            f.badChecksum = c.badChecksum;
            f.unplugAfterRecords = c.unplugAfter;
        });
        for (const QByteArray& answer : c.raw)
            clock.queueRawAnswer(answer);
        for (int i = 0; i < c.birds; ++i)
            clock.queueAnswerText("ZUS24ABCD001234C00000000011");
        EXPECT_EQ(ReadAdminHeaderName(clockLink.exchange, clockLink.flags, progress), "");
        const QList<QByteArray> commands = clock.commands();
        EXPECT_EQ(commands.size(), c.commands);
        EXPECT_EQ(commands.last(), c.lastCommand);
        EXPECT_FALSE(commands.contains("R"));
        ASSERT_EQ(boxes.texts().size(), c.box.isEmpty() ? 0 : 1);
        if (!c.box.isEmpty()) {
            EXPECT_TRUE(boxes.texts()[0].startsWith(c.box)) << boxes.texts()[0].toStdString();
        }
        EXPECT_EQ(clockLink.flags.admin, c.flagAfter);
        EXPECT_FALSE(progress.isShown());
    }
}
