#include "clocklink/command_exchange.h"
#include "model/pty_clock.h"
#include "support/simulated_clock_process.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace {
// Writes a request on the slave side as the program would, and reads until ETX or a lone byte settles.
QByteArray exchangeRaw(int fd, const QByteArray& request)
{
    EXPECT_EQ(::write(fd, request.constData(), static_cast<size_t>(request.size())), request.size());
    QByteArray answer;
    while (!answer.endsWith('\x03')) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, answer.isEmpty() ? 2000 : 200) <= 0)
            break;
        char buffer[256];
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        answer.append(buffer, n);
    }
    return answer;
}

int openSlave(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
}
} // namespace

TEST(PtyClock, AnswersOnItsDeviceAcrossReopensAndOnAnEmulatedLine)
{
    for (const auto charTime : {std::chrono::microseconds{0}, kCharTime9600}) {
        SCOPED_TRACE(charTime.count());
        ClockDevice device;
        device.faults().charTime = charTime;
        PtyClock clock(std::move(device));
        QString error;
        ASSERT_TRUE(clock.start(&error)) << error.toStdString();
        ASSERT_TRUE(clock.devicePath().startsWith("/dev/"));
        const QByteArray expected = ClockDevice::frameAnswer("v012301000003000000FF");
        // The program closes the port between operations; the clock must still be there when it comes back.
        for (int round = 0; round < 3; ++round) {
            const int fd = openSlave(clock.devicePath());
            ASSERT_GE(fd, 0);
            EXPECT_EQ(exchangeRaw(fd, FrameCommand("v", kRbmAddress)), expected) << "round " << round;
            ::close(fd);
        }
        EXPECT_EQ(clock.withDevice([](ClockDevice& d) { return d.frames().size(); }), 3u);
    }
}

TEST(ClocksimProgram, HelpDescribesTheOptions)
{
    QProcess process;
    process.start(CORVEX_CLOCKSIM_PATH, {"--help"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 0);
    const QByteArray out = process.readAllStandardOutput();
    for (const char* option : {"--scenario", "--save", "--baud", "--demo", "--link", "--nak-once", "--silent",
                               "--no-etx", "--bad-checksum", "--trailing-bytes", "--unplug-after"})
        EXPECT_TRUE(out.contains(option)) << option;
}

TEST(ClocksimProgram, RefusesUnknownOptionsAndBadScenarios)
{
    QProcess process;
    process.start(CORVEX_CLOCKSIM_PATH, {"--frobnicate"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);

    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("{ not json");
    bad.close();
    process.start(CORVEX_CLOCKSIM_PATH, {"--scenario", bad.fileName()});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("bad.json"));
}

TEST(ClocksimProgram, SavesWhatItWasSentOnTermination)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("after.json");
    const QString link = dir.filePath("corvex-port");
    SimulatedClockProcess sim({"--demo", "--save", saved, "--link", link});
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.devicePath());

    const int fd = openSlave(link);
    ASSERT_GE(fd, 0);
    const QByteArray ack(1, 0x06);
    EXPECT_EQ(exchangeRaw(fd, FrameCommand("IC0", kRbmAddress)), ack);
    EXPECT_EQ(exchangeRaw(fd, FrameCommand("I0071204ABCDEFGH1", kRbmAddress)), ack);
    ::close(fd);
    EXPECT_EQ(sim.stop(), 0);

    EXPECT_FALSE(QFileInfo::exists(link));
    const auto after = ClockScenario::load(saved);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->liberations, QStringList{"I0071204ABCDEFGH1"});
    EXPECT_EQ(after->races, ClockScenario::demo().races);
}

TEST(ClocksimProgram, FaultFlagsReachTheDevice)
{
    SimulatedClockProcess sim({"--nak-twice", "--log"});
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    const int fd = openSlave(sim.devicePath());
    ASSERT_GE(fd, 0);
    const QByteArray frame = FrameCommand("v", kRbmAddress);
    EXPECT_EQ(exchangeRaw(fd, frame), QByteArray(1, 0x15));
    EXPECT_EQ(exchangeRaw(fd, frame), QByteArray(1, 0x15));
    EXPECT_EQ(exchangeRaw(fd, frame), ClockDevice::frameAnswer("v012301000003000000FF"));
    ::close(fd);
    sim.stop();
    EXPECT_EQ(sim.standardError(), "RBM v\nRBM v\nRBM v\n");
}
