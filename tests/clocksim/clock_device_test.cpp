#include "clocklink/command_exchange.h"
#include "model/clock_device.h"

#include <gtest/gtest.h>

// The stand-in clock's model where the program's tests cannot reach it: the program never splits a frame,
// never sends a bad checksum and never addresses a unit with the other's commands.

namespace {
const QByteArray NAK(1, 0x15);

QByteArray rbmFrame(const QByteArray& command)
{
    return FrameCommand(command, kRbmAddress);
}

QByteArray pcfFrame(const QByteArray& command)
{
    return FrameCommand(command, kPcfAddress);
}
} // namespace

TEST(ClockDevice, FramesInAnyChunkingABadChecksumAndAnUnendedFrame)
{
    ClockDevice whole, byteByByte;
    const QByteArray expected = whole.receive(rbmFrame("v"));
    QByteArray answer;
    for (char c : rbmFrame("v"))
        answer += byteByByte.receive(QByteArray(1, c));
    EXPECT_EQ(answer, expected);

    QByteArray bad = rbmFrame("v");
    bad[3] = static_cast<char>(bad[3] + 1);
    EXPECT_EQ(whole.receive(bad), NAK);
    EXPECT_FALSE(whole.frames().back().checksumOk);
    // An STX restarts a frame that never ended.
    EXPECT_TRUE(whole.receive(QByteArray("\x02\x81vv", 4)).isEmpty());
    EXPECT_EQ(whole.receive(pcfFrame("e00")), ClockDevice::frameAnswer("e0000FF"));
}

TEST(ClockDevice, EachUnitAnswersOnlyItsOwnCommandsAndABareNakRepeats)
{
    ClockDevice device;
    for (const QByteArray& refused : {rbmFrame("Q"), rbmFrame("e00"), pcfFrame("X")})
        EXPECT_EQ(device.receive(refused), NAK) << refused.toStdString();
    const QByteArray answer = device.receive(rbmFrame("v"));
    EXPECT_EQ(device.receive(NAK), answer);
    EXPECT_TRUE(device.frames().back().bare);
}
