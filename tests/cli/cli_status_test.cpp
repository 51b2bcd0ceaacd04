// corvex-cli against corvex-clocksim, both as built, through a pseudo-terminal.
#include "model/clock_scenario.h"
#include "support/simulated_clock_process.h"

#include <QFile>
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

// One box at most, no clock in the status, exit 1: nobody answering, no such port, and a port that exists
// but cannot be opened.
TEST_F(CliClockTest, StatusWithoutAClockSaysSoOnceAndFails)
{
    SimulatedClockProcess silent({"--silent"});
    ASSERT_TRUE(silent.started()) << silent.error().toStdString();
    QFile plain(m_home.filePath("plain-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct {
        QString port;
        QByteArray err;
    } cases[] = {
        {silent.devicePath(), kNoCorvex},
        {m_home.filePath("no-such-port"), "[Corvex] Invalid comport number, check system configuration.\n"},
        {plain.fileName(),
         "[Communications Error!] The serial port " + plain.fileName().toUtf8() + " cannot be opened"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCorvexCli(cli(c.port, {"status"}));
        EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
        EXPECT_EQ(run.err.count("["), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith("Status: CORVEX NOT CONNECTED\n")) << run.out.toStdString();
        EXPECT_EQ(run.exitCode, 1);
    }
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
    run = runCorvexCli(cli(clock.devicePath(), {"send", "Q"}));
    EXPECT_EQ(run.out, "<15>\n"); // refused: NAK
    EXPECT_EQ(run.exitCode, 1);
}
