#include "support/simulated_clock.h"

namespace {
const QByteArray ACK(1, 0x06);
const QByteArray EOT(1, 0x04);

void setInventory(ClockScenario& s)
{
    s.s1 = "S1          COMBINE             US";
    s.s2 = "S2   0107   CLUB                 0012";
    s.s3 = "S3   0107042JOHN MILLER         00000000000000";
    s.birds = {"ZUS24ABCD001234C00000000011"};
}
} // namespace

class BlockTransfer : public SimulatedClockTest {};

// The letter starts a series, the clock's ACK sets the flag, records leave it set, EOT clears it, and the
// next read starts with the letter again. The two series have flags of their own; a failure code leaves
// the flag as it was.
TEST_F(BlockTransfer, EachSeriesRunsFromItsLetterToEot)
{
    sim.update([](ClockScenario& s) { s.races = {"header", "clocking 1"}; });
    using Reader = QByteArray (*)(CommandExchange&, SeriesFlags&);
    const std::tuple<QByteArray, Reader, bool SeriesFlags::*, QList<QByteArray>> series[] = {
        {"X",
         ReadNextBlock,
         &SeriesFlags::admin,
         {"S1" + QByteArray(32, '*'), "S2" + QByteArray(35, '*'), "S3" + QByteArray(44, '*')}},
        {"W", ReadNextRaceBlock, &SeriesFlags::race, {"header", "clocking 1"}},
    };
    for (const auto& [letter, read, flag, records] : series) {
        sim.clearFrames();
        link().flags = {};
        // No answer: E2, and the flag stays as it was, clear before the series and set within it.
        sim.queueRawAnswer("");
        EXPECT_EQ(read(exchange(), link().flags), "E2");
        EXPECT_FALSE(link().flags.*flag);
        EXPECT_EQ(read(exchange(), link().flags), ACK);
        sim.queueRawAnswer("");
        EXPECT_EQ(read(exchange(), link().flags), "E2");
        for (const QByteArray& record : records) {
            EXPECT_TRUE(link().flags.*flag);
            EXPECT_EQ(read(exchange(), link().flags), record);
        }
        EXPECT_EQ(read(exchange(), link().flags), EOT);
        EXPECT_FALSE(link().flags.admin || link().flags.race);
        EXPECT_EQ(read(exchange(), link().flags), ACK);
        const QList<QByteArray> letters{letter, letter};
        EXPECT_EQ(sim.commands(), letters + QList<QByteArray>(records.size() + 2, ACK) + letters.mid(1));
    }
}

TEST_F(BlockTransfer, AdminHeaderNameReadsUpToS3SendsRAndLeavesTheFlagSet)
{
    sim.update(setInventory);
    QByteArray last;
    EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress, &last), "JOHN MILLER         ");
    EXPECT_TRUE(last.startsWith("S3"));
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"X", ACK, ACK, ACK, "R"}));
    // The count includes the ACK that started the series: S1 shows as 2.
    EXPECT_EQ(progress.events(),
              (QStringList{"show", "lower: 2 Blocks Transferred", "lower: 3 Blocks Transferred",
                           "lower: 4 Blocks Transferred", "close"}));
    sim.clearFrames();
    ReadNextBlock(exchange(), link().flags);
    EXPECT_EQ(sim.commands(), QList<QByteArray>{ACK});
}

// Without these ends a silent, empty or endless module would keep the loop reading forever. Past what a
// module holds the series is ended with EOT.
TEST_F(BlockTransfer, AdminHeaderNameEndsEmptyWhereNoS3Comes)
{
    sim.update(setInventory);
    const QString ended = "The RBM did not end its inventory.";
    const QByteArray bird = ClockDevice::frameAnswer("ZUS24ABCD001234C00000000011");
    const std::tuple<ClockFaults, QList<QByteArray>, qsizetype, QString, bool> cases[] = {
        // faults, answers before the module's own, commands (the last "X", ACK or EOT), box, flag afterwards
        {{.silentAnswers = 1}, {}, 1, "No Corvex detected.", false},
        {{}, {ACK, EOT}, 2, {}, false},
        {{.badChecksum = 1}, {}, 2, {}, true},
        {{.unplugAfterRecords = 1}, {}, 3, "No Corvex detected.", true},
        {{}, QList<QByteArray>(22, ACK), 1 + 20 + 1, ended, false},
        {{}, QList<QByteArray>{ACK} + QList<QByteArray>(3 + 500 + 1, bird), 1 + 504 + 1, ended, false},
    };
    for (const auto& [faults, answers, commands, box, flagAfter] : cases) {
        SCOPED_TRACE(commands);
        link().flags = {};
        sim.replug();
        sim.changeFaults([&](ClockFaults& f) { f = faults; });
        sim.clearFrames();
        dialogs.clearLog();
        for (const QByteArray& answer : answers)
            sim.queueRawAnswer(answer);
        EXPECT_EQ(ReadAdminHeaderName(exchange(), link().flags, progress), "");
        EXPECT_EQ(sim.commands().size(), commands);
        EXPECT_FALSE(sim.commands().contains("R"));
        EXPECT_EQ(dialogs.texts().size(), box.isEmpty() ? 0 : 1);
        EXPECT_TRUE(box.isEmpty() || dialogs.texts().value(0).startsWith(box))
            << dialogs.texts().join("").toStdString();
        EXPECT_EQ(link().flags.admin, flagAfter);
        EXPECT_FALSE(progress.isShown());
    }
}
