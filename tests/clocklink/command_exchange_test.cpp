// The command exchange end to end: DeviceSerialPort on a pseudo-terminal served by the stand-in clock.
#include "support/simulated_clock.h"

#include <gmock/gmock.h>

using namespace std::chrono;
using ::testing::ElementsAre;

namespace {
const QByteArray ACK(1, 0x06);
const QByteArray NAK(1, 0x15);
const QByteArray EOT(1, 0x04);
const QByteArray ESC(1, 0x1B);

// Written out here rather than taken from the code under test.
const QString kAdvice =
    "\r\n\r\nAssure CORVEX is connected to the assigned\r\nComPort using cable #5733 & the "
    "CORVEX\r\npower is on, the RBM is inserted AND the\r\nCORVEX is ready for logging or "
    "user input";

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}

double secondsSince(steady_clock::time_point start)
{
    return duration<double>(steady_clock::now() - start).count();
}
} // namespace

class ExchangeFrames : public SimulatedClockTest {};

TEST_F(ExchangeFrames, VersionQuestionToTheRbmAndToThePcf)
{
    exchange().setAddressPrefix(kRbmAddress);
    EXPECT_EQ(exchange().SendCommand("v"), "v012301000003000000FF");
    exchange().setAddressPrefix(kPcfAddress);
    EXPECT_EQ(exchange().SendCommand("v"), "PV105");

    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].raw, bytes({0x02, 0x81, 0x76, 0xF7, 0x80, 0x03}));
    EXPECT_EQ(frames[1].raw, bytes({0x02, 0x76, 0x76, 0x80, 0x03}));
    EXPECT_TRUE(frames[0].rbm);
    EXPECT_FALSE(frames[1].rbm);
}

TEST_F(ExchangeFrames, LowChecksumCharactersAreSentAbove0x80)
{
    // 0x81 + "R" + "L" = 0x11F: lo 0x1F and hi 0x01 both fall below 32.
    sim.queueRawAnswer(ACK);
    EXPECT_EQ(exchange().SendCommand("RL"), ACK);
    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].raw, bytes({0x02, 0x81, 'R', 'L', 0x9F, 0x81, 0x03}));
    EXPECT_TRUE(frames[0].checksumOk); // the clock agrees
}

TEST_F(ExchangeFrames, ControlCommandsGoOutBare)
{
    EXPECT_EQ(exchange().SendCommand(EOT), ACK);
    EXPECT_EQ(exchange().SendCommand(ACK), EOT); // no series running
    sim.queueRawAnswer(ACK);
    EXPECT_EQ(exchange().SendCommand(NAK), ACK);
    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].raw, EOT);
    EXPECT_EQ(frames[1].raw, ACK);
    EXPECT_EQ(frames[2].raw, NAK);
    EXPECT_TRUE(frames[0].bare && frames[1].bare && frames[2].bare);
}

TEST_F(ExchangeFrames, NakIsRetriedOnceExactly)
{
    sim.nakNext(1);
    EXPECT_EQ(exchange().SendCommand("v"), "v012301000003000000FF");
    EXPECT_EQ(exchange().lastAttempts(), 2);
    EXPECT_EQ(sim.commands(), (QList<QByteArray>{"v", "v"}));

    sim.clearFrames();
    sim.nakNext(2);
    EXPECT_EQ(exchange().SendCommand("v"), NAK);
    EXPECT_EQ(exchange().lastAttempts(), 2);
    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].raw, frames[1].raw);
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ExchangeFrames, OtherSingleCharactersAreReturnedUnchanged)
{
    sim.queueRawAnswer(ESC);
    sim.queueRawAnswer("Z");
    EXPECT_EQ(exchange().SendCommand("v"), ESC);
    EXPECT_EQ(exchange().SendCommand("v"), "Z");
    EXPECT_EQ(sim.frames().size(), 2u); // no retry for anything but NAK
}

class ExchangeAnswers : public SimulatedClockTest {};

TEST_F(ExchangeAnswers, DamagedAnswersGiveAnEmptyTextQuietly)
{
    sim.changeFaults([](ClockFaults& f) { f.badChecksum = 1; });
    EXPECT_EQ(exchange().SendCommand("v"), QByteArray());
    EXPECT_TRUE(port.isOpen());
    // Bytes after ETX fail the checksum; the next answer is whole again.
    sim.changeFaults([](ClockFaults& f) { f.trailingBytes = 1; });
    EXPECT_EQ(exchange().SendCommand("v"), QByteArray());
    EXPECT_EQ(exchange().SendCommand("v"), "v012301000003000000FF");
    // Frames shorter than five characters; five are a frame with an empty text.
    sim.queueRawAnswer(bytes({0x02, '0', 0x03}));
    sim.queueRawAnswer(bytes({0x02, '0', 0xB0, 0x03}));
    sim.queueRawAnswer(ClockDevice::frameAnswer(""));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(exchange().SendCommand("v"), QByteArray()) << i;
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(ExchangeAnswers, EveryByteValueOfAnAnswerSurvives)
{
    QByteArray text;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (b != 0x7F)
            text.append(static_cast<char>(b));
    sim.queueAnswerText(text);
    EXPECT_EQ(exchange().SendCommand("v"), text);
}

TEST_F(ExchangeAnswers, EmptyCommandIsE0AndClosesThePort)
{
    EXPECT_EQ(exchange().SendCommand("v").size(), 21);
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(exchange().SendCommand(""), "E0");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(dialogs.lines(), QStringList{"[Communications Error!] Output string format error"});
    EXPECT_EQ(sim.frames().size(), 1u); // nothing written for the empty command
}

TEST_F(ExchangeAnswers, InvalidPortIsE5)
{
    port.setDevicePath(QString());
    port.setPortNumber(0);
    EXPECT_EQ(exchange().SendCommand("v"), "E5");
    port.setDevicePath("/dev/no-such-corvex-port");
    EXPECT_EQ(exchange().SendCommand("v"), "E5");
    EXPECT_EQ(dialogs.lines(), (QStringList{"[Corvex] Invalid comport number, check system configuration.",
                                            "[Corvex] Invalid comport number, check system configuration."}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(sim.frames().empty());
}

class ExchangeTimeouts : public SimulatedClockTest {
protected:
    void SetUp() override
    {
        SimulatedClockTest::SetUp();
        useRealTimings();
    }
};

TEST_F(ExchangeTimeouts, NoAnswerIsE2AfterTwoAndAHalfSecondsAndTheNextCallReopens)
{
    sim.setSilent(true);
    const auto start = steady_clock::now();
    EXPECT_EQ(exchange().SendCommand("v"), "E2");
    const double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, 2.5);
    EXPECT_LE(elapsed, 4.0);
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.title, "Communications Error!");
    EXPECT_EQ(dialogs.log()[0].box.text, "No Corvex detected. Please check connection." + kAdvice);
    EXPECT_EQ(dialogs.log()[0].box.buttons, Dialogs::Buttons::Ok);

    sim.setSilent(false);
    EXPECT_EQ(exchange().SendCommand("v"), "v012301000003000000FF");
    EXPECT_TRUE(port.isOpen());
}

TEST_F(ExchangeTimeouts, AnswerWithoutEtxIsE3AfterFiveSeconds)
{
    sim.changeFaults([](ClockFaults& f) { f.missingEtx = 1; });
    const auto start = steady_clock::now();
    EXPECT_EQ(exchange().SendCommand("v"), "E3");
    const double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, 5.0);
    EXPECT_LE(elapsed, 6.5);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(dialogs.lines(),
              QStringList{"[Communications Error!] Communication Timeout, Check Connection" + kAdvice});
    EXPECT_EQ(exchange().SendCommand("v"), "v012301000003000000FF");
}

TEST_F(ExchangeTimeouts, AtLineSpeedLoneAcksAndFramesAreToldApart)
{
    sim.emulate9600Baud(true);
    EXPECT_EQ(exchange().SendCommand("X"), ACK);
    EXPECT_EQ(exchange().SendCommand(ACK), "S1" + QByteArray(32, '*'));
    EXPECT_TRUE(dialogs.log().empty());
}
