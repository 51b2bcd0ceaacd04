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

TEST(ClocksimProgram, RefusesUnknownOptionsAndBadScenarios)
{
    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("{ not json");
    bad.close();
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {{{"--frobnicate"}, 2},
                 {{"--unplug-after", "-1"}, 2},
                 {{"--unplug-after", "x"}, 2},
                 {{"--no-etx=x"}, 2},
                 {{"--scenario", bad.fileName()}, 1}};
    for (const auto& c : cases) {
        QProcess process;
        process.start(CORVEX_CLOCKSIM_PATH, c.arguments);
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
    }
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
    const QByteArray ack(1, 0x06);
    const QByteArray nak(1, 0x15);
    const QByteArray v = FrameCommand("v", kRbmAddress);
    const struct {
        QStringList options;
        QList<QByteArray> requests, answers;
        QByteArray log;
    } cases[] = {
        {{"--nak-twice", "--log"},
         {v, v, v},
         {nak, nak, ClockDevice::frameAnswer("v012301000003000000FF")},
         "RBM v\nRBM v\nRBM v\n"},
        // The module falls silent after the first record of a series.
        {{"--demo", "--unplug-after", "1"},
         {FrameCommand("W", kRbmAddress), ack, ack},
         {ack, ClockDevice::frameAnswer(ClockScenario::demo().races.first().toLatin1()), {}},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        SimulatedClockProcess sim(c.options);
        ASSERT_TRUE(sim.started()) << sim.error().toStdString();
        const int fd = openSlave(sim.devicePath());
        ASSERT_GE(fd, 0);
        for (qsizetype i = 0; i < c.requests.size(); ++i)
            EXPECT_EQ(exchangeRaw(fd, c.requests[i]), c.answers[i]) << "request " << i;
        ::close(fd);
        sim.stop();
        EXPECT_EQ(sim.standardError(), c.log);
    }
}
