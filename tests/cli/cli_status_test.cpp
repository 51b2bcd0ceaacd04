// corvex-cli against corvex-clocksim, both as built, through a pseudo-terminal.
#include "model/clock_scenario.h"
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class CliClockTest : public ::testing::Test {
protected:
    QStringList cli(const QString& port, const QStringList& command) const
    {
        return QStringList{"--home", m_home.path(), "--port", port} + command;
    }

    QTemporaryDir m_home;
};

const QByteArray kNoCorvex =
    "[Communications Error!] No Corvex detected. Please check connection.\n\nAssure "
    "CORVEX is connected to the assigned\nComPort using cable #5733 & the CORVEX\npower "
    "is on, the RBM is inserted AND the\nCORVEX is ready for logging or user input\n";
} // namespace

TEST_F(CliClockTest, StatusPrintsTheFivePanels)
{
    SimulatedClockProcess clock;
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    const CliRun run = runCorvexCli(cli(clock.devicePath(), {"status"}));
    EXPECT_EQ(run.out, "RBM V : 1.23\n"
                       "RBM SN : 0255\n"
                       "PCF V: 1.05\n"
                       "PCF SN: 0255\n"
                       "Status: RBM in Race Mode, no birds logged\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(CliClockTest, StatusWithNobodyAnsweringIsTheE2Message)
{
    SimulatedClockProcess clock({"--silent"});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    const CliRun run = runCorvexCli(cli(clock.devicePath(), {"status"}));
    EXPECT_EQ(run.err, kNoCorvex);
    EXPECT_TRUE(run.out.endsWith("Status: CORVEX NOT CONNECTED\n")) << run.out.toStdString();
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(CliClockTest, StatusOnAMissingPortIsE5)
{
    const CliRun run = runCorvexCli(cli(m_home.filePath("no-such-port"), {"status"}));
    EXPECT_EQ(run.err, "[Corvex] Invalid comport number, check system configuration.\n");
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(CliClockTest, SendPrintsControlAndNonAsciiBytesAsHex)
{
    ClockScenario scenario;
    scenario.s1 = QStringLiteral("S1          Z\u00DCRICH              CH");
    const QString file = m_home.filePath("clock.json");
    ASSERT_TRUE(scenario.save(file));
    SimulatedClockProcess clock({"--scenario", file});
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();

    CliRun run = runCorvexCli(cli(clock.devicePath(), {"send", "X"}));
    EXPECT_EQ(run.out, "<06>\n");
    EXPECT_EQ(run.exitCode, 0);
    // The clock keeps its series between runs; a lone ACK asks for the next record.
    run = runCorvexCli(cli(clock.devicePath(), {"send", QString(QChar(0x06))}));
    EXPECT_EQ(run.out, "S1          Z<DC>RICH              CH\n");
    run = runCorvexCli(cli(clock.devicePath(), {"send", "--pcf", "e00"}));
    EXPECT_EQ(run.out, "e0000FF\n");
    run = runCorvexCli(cli(clock.devicePath(), {"send", "v"}));
    EXPECT_EQ(run.out, "v012301000003000000FF\n");
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(CliClockTest, SendOfARefusedCommandShowsTheNakAndFails)
{
    SimulatedClockProcess clock;
    ASSERT_TRUE(clock.started()) << clock.error().toStdString();
    const CliRun run = runCorvexCli(cli(clock.devicePath(), {"send", "Q"}));
    EXPECT_EQ(run.out, "<15>\n");
    clock.stop();
}
