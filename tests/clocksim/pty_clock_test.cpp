// corvex-clocksim as built: its options, and what it saves, where the program's tests do not look.
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
const QByteArray ACK(1, 0x06);

// Writes a request on the device as the program would, and reads until ETX or a lone byte settles.
QByteArray exchangeRaw(int fd, const QByteArray& request)
{
    EXPECT_EQ(::write(fd, request.constData(), static_cast<size_t>(request.size())), request.size());
    QByteArray answer;
    char buffer[256];
    for (pollfd p{fd, POLLIN, 0}; !answer.endsWith('\x03'); p.revents = 0) {
        if (::poll(&p, 1, answer.isEmpty() ? 2000 : 200) <= 0)
            break;
        const auto n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        answer.append(buffer, n);
    }
    return answer;
}

// Runs the requests against a clock started with these options; its answers.
QList<QByteArray> serve(const QStringList& options, const QList<QByteArray>& requests)
{
    SimulatedClockProcess sim(options);
    EXPECT_TRUE(sim.started()) << sim.error().toStdString();
    // Through the link where there is one.
    const qsizetype link = options.indexOf("--link");
    const QString device = link >= 0 ? options.at(link + 1) : sim.devicePath();
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY);
    EXPECT_GE(fd, 0);
    QList<QByteArray> answers;
    for (const QByteArray& request : requests)
        answers << exchangeRaw(fd, request);
    ::close(fd);
    EXPECT_EQ(sim.stop(), 0);
    return answers;
}
} // namespace

// The log and the saved races are checked by the season test.
TEST(ClocksimProgram, LinksTheDeviceAndSavesWhatItWasSent)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("after.json"), link = dir.filePath("corvex-port");
    EXPECT_EQ(serve({"--demo", "--save", saved, "--link", link},
                    {FrameCommand("IC0", kRbmAddress), FrameCommand("I0071204ABCDEFGH1", kRbmAddress)}),
              QList<QByteArray>({ACK, ACK}));
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_EQ(ClockScenario::load(saved).value_or(ClockScenario{}).liberations,
              QStringList{"I0071204ABCDEFGH1"});
}

TEST(ClocksimProgram, FaultFlagsReachTheDevice)
{
    const QByteArray v = FrameCommand("v", kRbmAddress), nak(1, 0x15);
    EXPECT_EQ(serve({"--nak-twice"}, {v, v, v}),
              QList<QByteArray>({nak, nak, ClockDevice::frameAnswer("v012301000003000000FF")}));
    // The module falls silent after the first record of a series.
    EXPECT_EQ(serve({"--demo", "--unplug-after", "1"}, {FrameCommand("W", kRbmAddress), ACK, ACK}),
              QList<QByteArray>(
                  {ACK, ClockDevice::frameAnswer(ClockScenario::demo().races.first().toLatin1()), {}}));
}
