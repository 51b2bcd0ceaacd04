// corvex-cli status and send against corvex-clocksim, both as built, through a pseudo-terminal. Ports that
// cannot be opened are the clock link's tests.
#include "model/clock_scenario.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class CliClockTest : public ::testing::Test {
protected:
    CliRun cli(const SimulatedClockProcess& clock, const QStringList& command) const
    {
        return runCorvexCli(QStringList{"--home", m_home.path(), "--port", clock.devicePath()} + command);
    }

    QTemporaryDir m_home;
};
} // namespace

// The five panels, and exit 1 without a clock: nobody answering (the exchange's box) or only damaged
// answers (no box).
TEST_F(CliClockTest, StatusPrintsTheFivePanels)
{
    SimulatedClockProcess clock;
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    const CliRun run = cli(clock, {"status"});
    EXPECT_EQ(run.out, "RBM V : 1.23\nRBM SN : 0255\nPCF V: 1.05\nPCF SN: 0255\n"
                       "Status: RBM in Race Mode, no birds logged\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitCode, 0);

    for (const char* fault : {"--silent", "--bad-checksum"}) {
        SimulatedClockProcess broken({fault});
        ASSERT_TRUE(broken.started()) << broken.error().toStdString();
        const CliRun failed = cli(broken, {"status"});
        EXPECT_EQ(failed.exitCode, 1) << fault;
        EXPECT_TRUE(failed.out.startsWith("RBM V : 0.00\nRBM SN : 0000\n")) << failed.out.toStdString();
        EXPECT_EQ(failed.err.count("[Communications Error!] No Corvex detected."), fault[2] == 's' ? 1 : 0);
    }
}

TEST_F(CliClockTest, SendPrintsControlAndNonAsciiBytesAsHex)
{
    ClockScenario scenario;
    scenario.s1 = QStringLiteral("S1          Z\u00DCRICH              CH");
    ASSERT_TRUE(scenario.save(m_home.filePath("clock.json")));
    SimulatedClockProcess clock({"--scenario", m_home.filePath("clock.json")});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    // The clock keeps its series between runs; a lone ACK asks for the next record. "Q" is refused: NAK.
    const std::tuple<QStringList, QByteArray, int> cases[] = {
        {{"send", "X"}, "<06>\n", 0},
        {{"send", QString(QChar(0x06))}, "S1          Z<DC>RICH              CH\n", 0},
        {{"send", "--pcf", "e00"}, "e0000FF\n", 0},
        {{"send", "Q"}, "<15>\n", 1},
    };
    for (const auto& [command, out, exitCode] : cases) {
        const CliRun run = cli(clock, command);
        EXPECT_EQ(run.out, out);
        EXPECT_EQ(run.exitCode, exitCode);
    }
}
