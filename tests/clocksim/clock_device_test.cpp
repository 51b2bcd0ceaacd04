#include "clocklink/command_exchange.h"
#include "model/clock_device.h"

#include <gtest/gtest.h>

// The stand-in clock's model. Its fault injection, series and scripted answers are exercised by every clock
// operation test; here is what those do not reach.

namespace {
const QByteArray NAK(1, 0x15);

// A request frame as the program writes it.
QByteArray rbmFrame(const QByteArray& command)
{
    return FrameCommand(command, kRbmAddress);
}

QByteArray pcfFrame(const QByteArray& command)
{
    return FrameCommand(command, kPcfAddress);
}

// The text of a framed answer, checked with the program's own checksum; a marker when it is not a frame.
QByteArray unframe(const QByteArray& answer)
{
    if (answer.size() < 5 || answer.front() != '\x02' || answer.back() != '\x03')
        return "<not a frame>";
    const QByteArray body = answer.mid(1, answer.size() - 4);
    if (FrameChecksum(body) != answer.mid(answer.size() - 3, 2))
        return "<bad checksum>";
    return body.mid(1);
}
} // namespace

TEST(ClockDeviceFraming, AnswersTheSameWhateverTheChunking)
{
    ClockDevice whole;
    const QByteArray expected = whole.receive(rbmFrame("v"));
    EXPECT_EQ(unframe(expected), "v012301000003000000FF");

    ClockDevice byteByByte;
    QByteArray answer;
    for (char c : rbmFrame("v"))
        answer += byteByByte.receive(QByteArray(1, c));
    EXPECT_EQ(answer, expected);
    ASSERT_EQ(byteByByte.frames().size(), 1u);
    EXPECT_EQ(byteByByte.frames()[0].raw, rbmFrame("v"));
    EXPECT_TRUE(byteByByte.frames()[0].rbm);
    EXPECT_EQ(byteByByte.frames()[0].command, "v");
}

TEST(ClockDeviceFraming, NaksABadChecksumAndLogsIt)
{
    ClockDevice device;
    QByteArray frame = rbmFrame("v");
    frame[3] = static_cast<char>(frame[3] + 1);
    EXPECT_EQ(device.receive(frame), NAK);
    ASSERT_EQ(device.frames().size(), 1u);
    EXPECT_FALSE(device.frames()[0].checksumOk);
}

TEST(ClockDeviceFraming, AStxRestartsAFrameThatNeverEnded)
{
    ClockDevice device;
    EXPECT_TRUE(device.receive(QByteArray("\x02\x81vv", 4)).isEmpty());
    EXPECT_EQ(unframe(device.receive(pcfFrame("e00"))), "e0000FF");
}

TEST(ClockDeviceAnswers, EachUnitAnswersOnlyItsOwnCommands)
{
    ClockDevice device;
    EXPECT_TRUE(unframe(device.receive(pcfFrame("v"))).endsWith("105"));
    EXPECT_EQ(unframe(device.receive(pcfFrame("e00"))).mid(3, 4), "00FF");
    EXPECT_FALSE(device.frames()[0].rbm);
    EXPECT_EQ(device.receive(rbmFrame("Q")), NAK);
    EXPECT_EQ(device.receive(rbmFrame("e00")), NAK); // the serial question is the PCF's
    EXPECT_EQ(device.receive(pcfFrame("X")), NAK);   // the series are the RBM's
}

TEST(ClockDeviceControl, BareNakRepeatsTheLastAnswer)
{
    ClockDevice device;
    const QByteArray answer = device.receive(rbmFrame("v"));
    EXPECT_EQ(device.receive(NAK), answer);
    EXPECT_TRUE(device.frames().back().bare);
}
