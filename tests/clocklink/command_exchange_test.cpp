// The command exchange end to end: DeviceSerialPort on a pseudo-terminal served by the stand-in clock.
#include "support/simulated_clock.h"

using namespace std::chrono;

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

TEST(FrameChecksum, LowAndHighCharactersBelow32AreMovedUpBy128)
{
    const struct {
        QByteArray text;
        int lo, hi;
    } cases[] = {
        {"v", 0x76, 0x80},                  // 118
        {"\x81v", 0xF7, 0x80},              // 247
        {"\x81RL", 0x9F, 0x81},             // 0x11F: lo 31, hi 1
        {"\x81RM", 0x20, 0x81},             // 0x120: lo exactly 32 stays
        {QByteArray(67, 'z'), 0xEE, 0x9F},  // 0x1FEE: hi 31
        {QByteArray(68, 'z'), 0x68, 0x20},  // 0x2068: hi exactly 32 stays
        {QByteArray(600, 'z'), 0xF0, 0x9D}, // 0x11DF0: hi is taken modulo 256
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameChecksum(c.text), bytes({c.lo, c.hi})) << c.text.size() << " bytes";
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
