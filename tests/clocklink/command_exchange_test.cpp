// The command exchange end to end: DeviceSerialPort on a pseudo-terminal served by the stand-in clock.
#include "support/simulated_clock.h"

using namespace std::chrono;

namespace {
const QByteArray ACK(1, 0x06);
const QByteArray NAK(1, 0x15);
const QByteArray ESC(1, 0x1B);
const QByteArray kVersion = "v012301000003000000FF"; // the stand-in clock's RBM answer to "v"

// Written out here rather than taken from the code under test.
const QString kAdvice =
    "\r\n\r\nAssure CORVEX is connected to the assigned\r\nComPort using cable #5733 & the "
    "CORVEX\r\npower is on, the RBM is inserted AND the\r\nCORVEX is ready for logging or "
    "user input";

} // namespace

TEST(FrameChecksum, LowAndHighCharactersBelow32AreMovedUpBy128)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"v", "7680"},                  // 118
        {"\x81v", "F780"},              // 247
        {"\x81RL", "9F81"},             // 0x11F: lo 31, hi 1
        {"\x81RM", "2081"},             // 0x120: lo exactly 32 stays
        {QByteArray(67, 'z'), "EE9F"},  // 0x1FEE: hi 31
        {QByteArray(68, 'z'), "6820"},  // 0x2068: hi exactly 32 stays
        {QByteArray(600, 'z'), "F09D"}, // 0x11DF0: hi is taken modulo 256
    };
    for (const auto& [text, checksum] : cases)
        EXPECT_EQ(FrameChecksum(text).toHex().toUpper(), checksum) << text.size() << " bytes";
}

class Exchange : public SimulatedClockTest {};

// One character comes back as it is; only NAK makes the exchange write the same frame once more.
TEST_F(Exchange, SingleCharacterAnswers)
{
    const struct {
        QList<QByteArray> answers;
        QByteArray result;
        int writes;
    } cases[] = {
        {{ESC}, ESC, 1}, {{"Z"}, "Z", 1}, {{NAK}, kVersion, 2}, {{NAK, NAK}, NAK, 2}, {{ACK}, ACK, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result.toHex().toStdString());
        sim.clearFrames();
        for (const QByteArray& answer : c.answers)
            sim.queueRawAnswer(answer);
        EXPECT_EQ(exchange().SendCommand("v"), c.result);
        EXPECT_EQ(exchange().lastAttempts(), c.writes);
        const auto frames = sim.frames();
        ASSERT_EQ(frames.size(), size_t(c.writes));
        EXPECT_EQ(frames.back().raw, QByteArray("\x02\x81\x76\xF7\x80\x03", 6));
    }
    EXPECT_TRUE(dialogs.log().empty());
}

// A wrong checksum, bytes after ETX and frames too short to hold a text give an empty text, quietly, and
// leave the port open.
TEST_F(Exchange, DamagedAnswersGiveAnEmptyText)
{
    QByteArray spoiled = ClockDevice::frameAnswer(kVersion);
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    for (const QByteArray& answer :
         {spoiled, ClockDevice::frameAnswer(kVersion) + "0", QByteArray::fromHex("023003"),
          QByteArray::fromHex("02808003"), ClockDevice::frameAnswer("")}) {
        sim.queueRawAnswer(answer);
        EXPECT_EQ(exchange().SendCommand("v"), QByteArray()) << answer.toHex().toStdString();
    }
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(exchange().SendCommand("v"), kVersion);
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(Exchange, EmptyCommandIsE0AndClosesThePort)
{
    EXPECT_EQ(exchange().SendCommand("v"), kVersion);
    EXPECT_EQ(exchange().SendCommand(""), "E0");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(dialogs.lines(), QStringList{"[Communications Error!] Output string format error"});
    EXPECT_EQ(sim.frames().size(), 1u); // nothing written for the empty command
}

// The protocol's own waits: 2.5 s for a first character, 5 s for the ETX. The box names the failure, the
// port is closed, and the next exchange opens it again.
TEST_F(Exchange, SilenceIsE2AndAMissingEtxIsE3AtTheirDeadlines)
{
    useRealTimings();
    const struct {
        ClockFaults fault;
        QByteArray code;
        double seconds;
        QString box;
    } cases[] = {
        {{.silentAnswers = 1}, "E2", 2.5, "No Corvex detected. Please check connection."},
        {{.missingEtx = 1}, "E3", 5.0, "Communication Timeout, Check Connection"},
    };
    for (const auto& c : cases) {
        sim.changeFaults([&](ClockFaults& f) { f = c.fault; });
        dialogs.clearLog();
        const auto start = steady_clock::now();
        EXPECT_EQ(exchange().SendCommand("v"), c.code);
        const double elapsed = duration<double>(steady_clock::now() - start).count();
        EXPECT_GE(elapsed, c.seconds);
        EXPECT_LE(elapsed, c.seconds + 1.5);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(dialogs.lines(), QStringList{"[Communications Error!] " + c.box + kAdvice});
        EXPECT_EQ(dialogs.log()[0].box.buttons, Dialogs::Buttons::Ok);
        EXPECT_EQ(exchange().SendCommand("v"), kVersion);
        EXPECT_TRUE(port.isOpen());
    }
}

TEST_F(Exchange, AtLineSpeedLoneAcksAndFramesAreToldApart)
{
    useRealTimings();
    sim.emulate9600Baud(true);
    EXPECT_EQ(exchange().SendCommand("X"), ACK);
    EXPECT_EQ(exchange().SendCommand(ACK), "S1" + QByteArray(32, '*'));
    EXPECT_TRUE(dialogs.log().empty());
}
