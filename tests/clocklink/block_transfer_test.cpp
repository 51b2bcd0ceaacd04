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

TEST_F(SeriesFlagsTest, XThenAckThenEotClearsTheFlag)
{
    EXPECT_EQ(ReadNextBlock(exchange(), link().flags), ACK);
    EXPECT_TRUE(link().flags.admin);
    EXPECT_FALSE(link().flags.race);
    QList<QByteArray> records;
    for (int i = 0; i < 10; ++i) {
        const QByteArray block = ReadNextBlock(exchange(), link().flags);
        if (block == EOT)
            break;
        records << block;
    }
    EXPECT_EQ(records, (QList<QByteArray>{"S1" + QByteArray(32, '*'), "S2" + QByteArray(35, '*'),
                                          "S3" + QByteArray(44, '*')}));
    EXPECT_FALSE(link().flags.admin);
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"X", ACK, ACK, ACK, ACK}));

    // The next series starts with the letter again.
    sim.clearFrames();
    EXPECT_EQ(ReadNextBlock(exchange(), link().flags), ACK);
    EXPECT_EQ(sim.commands(), QList<QByteArray>{"X"});
}

TEST_F(SeriesFlagsTest, RecordsNeverClearTheFlag)
{
    sim.update([](ClockScenario& s) { s.races = {"header", "clocking 1", "clocking 2"}; });
    EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), ACK);
    for (const char* expected : {"header", "clocking 1", "clocking 2"}) {
        EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), expected);
        EXPECT_TRUE(link().flags.race);
    }
    EXPECT_FALSE(link().flags.admin); // the two flags are independent
    EXPECT_EQ(ReadNextRaceBlock(exchange(), link().flags), EOT);
    EXPECT_FALSE(link().flags.race);
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"W", ACK, ACK, ACK, ACK}));
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

// Without these stops a silent or empty module would keep the loop reading forever.
TEST_F(AdminHeaderNameTest, StopsWithAnEmptyNameOnAFailureCode)
{
    sim.setSilent(true);
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
    EXPECT_EQ(sim.commands(), QList<QByteArray>{"X"}); // read once, no "R"
    EXPECT_EQ(dialogs.log().size(), 1u);
    EXPECT_FALSE(progress.isShown());
}

TEST_F(AdminHeaderNameTest, StopsWithAnEmptyNameOnEot)
{
    sim.queueRawAnswer(ACK);
    sim.queueRawAnswer(EOT);
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"X", ACK}));
    EXPECT_FALSE(link().flags.admin);
}

TEST_F(AdminHeaderNameTest, StopsWithAnEmptyNameOnAnEmptyAnswer)
{
    sim.update(setInventory);
    sim.changeFaults([](ClockFaults& f) { f.badChecksum = 1; });
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"X", ACK}));
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(AdminHeaderNameTest, UnpluggedModuleMidSeriesEndsTheRead)
{
    sim.update(setInventory);
    sim.changeFaults([](ClockFaults& f) { f.unplugAfterRecords = 1; });
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
    EXPECT_EQ(dialogs.log().size(), 1u);
    EXPECT_TRUE(link().flags.admin);
}
