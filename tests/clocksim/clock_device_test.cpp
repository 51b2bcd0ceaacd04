#include "clocklink/command_exchange.h"
#include "model/clock_device.h"

#include <gtest/gtest.h>

namespace {
const QByteArray ACK(1, 0x06);
const QByteArray NAK(1, 0x15);
const QByteArray EOT(1, 0x04);

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

ClockScenario inventoryScenario()
{
    ClockScenario s;
    s.s1 = "S1          COMBINE             US";
    s.s2 = "S2   0107   CLUB                 0012";
    s.s3 = "S3   0107042FLYER               00000000000000";
    s.birds = {"ZUS24ABCD001234C00000000011", "ZUS24ABCD001235H00000000021"};
    return s;
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

TEST(ClockDeviceAnswers, StatusMayBeANonDigit)
{
    ClockScenario s;
    s.rbm.status = "x";
    s.rbm.version = 7;
    ClockDevice device(s);
    EXPECT_EQ(unframe(device.receive(rbmFrame("v"))), "v00070100000x000000FF");
}

TEST(ClockDeviceSeries, EmptyModuleServesAsteriskRecordsThenEot)
{
    ClockDevice device;
    EXPECT_EQ(device.receive(rbmFrame("X")), ACK);
    const QByteArray s1 = unframe(device.receive(ACK));
    const QByteArray s2 = unframe(device.receive(ACK));
    const QByteArray s3 = unframe(device.receive(ACK));
    EXPECT_EQ(s1, "S1" + QByteArray(32, '*'));
    EXPECT_EQ(s2, "S2" + QByteArray(35, '*'));
    EXPECT_EQ(s3, "S3" + QByteArray(44, '*'));
    EXPECT_EQ(device.receive(ACK), EOT);
    EXPECT_FALSE(device.seriesRunning());
    // An ACK with no series running has nothing more to give.
    EXPECT_EQ(device.receive(ACK), EOT);
}

TEST(ClockDeviceSeries, InventorySentIsServedBackAndS1StartsANewOne)
{
    ClockDevice device(inventoryScenario());
    const ClockScenario sent = [] {
        ClockScenario s;
        s.s1 = "S1          OTHER COMBINE       CA";
        s.s2 = "S2   0203   OTHER CLUB           0044";
        s.s3 = "S3   0203007SOMEONE ELSE        00000000000000";
        s.birds = {"ZCA23WXYZ000777C00000007771"};
        return s;
    }();
    for (const QString& record : QStringList{sent.s1, sent.s2, sent.s3, sent.birds[0]})
        EXPECT_EQ(device.receive(rbmFrame(record.toLatin1())), ACK);
    EXPECT_EQ(device.scenario().birds, sent.birds); // the old birds went with the old S1

    EXPECT_EQ(device.receive(rbmFrame("X")), ACK);
    QStringList served;
    for (QByteArray answer = device.receive(ACK); answer != EOT; answer = device.receive(ACK))
        served << QString::fromLatin1(unframe(answer));
    EXPECT_EQ(served, (QStringList{sent.s1, sent.s2, sent.s3, sent.birds[0]}));
}

TEST(ClockDeviceSeries, RaceSeriesAndEotEndingItEarly)
{
    ClockScenario s;
    s.races = {"header", "clocking 1", "clocking 2"};
    ClockDevice device(s);
    EXPECT_EQ(device.receive(rbmFrame("W")), ACK);
    EXPECT_EQ(unframe(device.receive(ACK)), "header");
    EXPECT_EQ(device.receive(EOT), ACK);
    EXPECT_FALSE(device.seriesRunning());
    // A new "W" starts from the first record again; the download does not consume the module's data.
    EXPECT_EQ(device.receive(rbmFrame("W")), ACK);
    EXPECT_EQ(unframe(device.receive(ACK)), "header");
    EXPECT_EQ(unframe(device.receive(ACK)), "clocking 1");
    EXPECT_EQ(unframe(device.receive(ACK)), "clocking 2");
    EXPECT_EQ(device.receive(ACK), EOT);
}

TEST(ClockDeviceSeries, REndsTheSeries)
{
    ClockDevice device(inventoryScenario());
    device.receive(rbmFrame("X"));
    device.receive(ACK);
    EXPECT_EQ(device.receive(rbmFrame("R")), ACK);
    EXPECT_EQ(device.receive(ACK), EOT);
}

TEST(ClockDeviceLiberations, Ic0ClearsAndI0Appends)
{
    ClockScenario s;
    s.liberations = {"I0010101OLD     1"};
    ClockDevice device(s);
    EXPECT_EQ(device.receive(rbmFrame("IC0")), ACK);
    EXPECT_TRUE(device.scenario().liberations.isEmpty());
    EXPECT_EQ(device.receive(rbmFrame("I0071204ABCDEFGH1")), ACK);
    EXPECT_EQ(device.receive(rbmFrame("I0081904SHORT   2")), ACK);
    EXPECT_EQ(device.scenario().liberations, (QStringList{"I0071204ABCDEFGH1", "I0081904SHORT   2"}));
}

TEST(ClockDeviceLiberations, RecordsKeepSingleByteCharacters)
{
    ClockDevice device;
    const QByteArray record = QByteArray("I0010101Z") + char(0xDC) + "RICH  1"; // "ZÜRICH" in Windows-1252
    EXPECT_EQ(device.receive(rbmFrame(record)), ACK);
    EXPECT_EQ(device.scenario().liberations, QStringList{"I0010101Z\u00DCRICH  1"});
}

TEST(ClockDeviceControl, BareNakRepeatsTheLastAnswer)
{
    ClockDevice device;
    const QByteArray answer = device.receive(rbmFrame("v"));
    EXPECT_EQ(device.receive(NAK), answer);
    EXPECT_TRUE(device.frames().back().bare);
}

TEST(ClockDeviceFaults, SpoiledFrames)
{
    ClockDevice device;
    device.faults().nakFrames = 2;
    EXPECT_EQ(device.receive(rbmFrame("v")), NAK);
    EXPECT_EQ(device.receive(rbmFrame("v")), NAK);
    const QByteArray good = device.receive(rbmFrame("v"));
    EXPECT_EQ(unframe(good), "v012301000003000000FF");

    device.faults().missingEtx = 1;
    EXPECT_EQ(device.receive(rbmFrame("v")), good.chopped(1));
    device.faults().badChecksum = 1;
    EXPECT_EQ(unframe(device.receive(rbmFrame("v"))), "<bad checksum>");
    device.faults().trailingBytes = 1;
    EXPECT_EQ(device.receive(rbmFrame("v")), good + "\r\n");
    // Each counter spoiled one answer only.
    EXPECT_EQ(device.receive(rbmFrame("v")), good);
}

TEST(ClockDeviceFaults, SilenceSwallowsAnswersButStillLogs)
{
    ClockDevice device;
    device.faults().silentAnswers = -1;
    EXPECT_TRUE(device.receive(rbmFrame("v")).isEmpty());
    EXPECT_TRUE(device.receive(ACK).isEmpty());
    EXPECT_EQ(device.commands(), (QList<QByteArray>{"v", ACK}));
}

TEST(ClockDeviceFaults, UnplugAfterRecordsOfASeries)
{
    ClockScenario s;
    s.races = {"r1", "r2", "r3"};
    ClockDevice device(s);
    device.faults().unplugAfterRecords = 2;
    EXPECT_EQ(device.receive(rbmFrame("W")), ACK);
    EXPECT_EQ(unframe(device.receive(ACK)), "r1");
    EXPECT_EQ(unframe(device.receive(ACK)), "r2");
    EXPECT_TRUE(device.receive(ACK).isEmpty());
    EXPECT_TRUE(device.unplugged());
    EXPECT_TRUE(device.receive(rbmFrame("v")).isEmpty());
    device.replug();
    EXPECT_EQ(unframe(device.receive(ACK)), "r3");
}

TEST(ClockDeviceScripted, QueuedAnswersComeFirstInOrder)
{
    ClockDevice device;
    device.queueAnswerText("v");
    device.queueRawAnswer("\x1b");
    EXPECT_EQ(unframe(device.receive(rbmFrame("v"))), "v");
    EXPECT_EQ(device.receive(rbmFrame("v")), "\x1b");
    EXPECT_EQ(unframe(device.receive(rbmFrame("v"))), "v012301000003000000FF");
}
