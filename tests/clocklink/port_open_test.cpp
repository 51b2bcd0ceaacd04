// Port failures that a pseudo-terminal cannot produce (the tests run as root), through a fake port.
#include "support/simulated_clock.h"

namespace {
class FakePort : public SerialPort {
public:
    OpenResult openResult = OpenResult::Opened;
    bool sendsInTime = true;
    bool opened = false;
    int writes = 0;

    OpenResult open() override
    {
        opened = openResult == OpenResult::Opened;
        return openResult;
    }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    void discardBuffers() override {}
    bool write(const QByteArray&) override
    {
        ++writes;
        return opened;
    }
    qint64 bytesToWrite() const override { return sendsInTime ? 0 : 6; }
    qint64 bytesAvailable() const override { return 0; }
    QByteArray readAll() override { return {}; }
    bool waitForInput(std::chrono::milliseconds) override { return false; }
    bool waitForSent(std::chrono::milliseconds) override { return sendsInTime; }
    QString deviceName() const override { return "/dev/ttyUSB0"; }
    QString lastError() const override { return "Permission denied"; }
};
} // namespace

struct PortOpenFailure : ::testing::Test {
    FakePort port;
    ScriptedDialogs dialogs;
    CommandExchange exchange{port, dialogs};
};

TEST_F(PortOpenFailure, RefusedOpenNamesTheDeviceAndGivesAnEmptyText)
{
    for (auto result : {SerialPort::OpenResult::PermissionDenied, SerialPort::OpenResult::Failed}) {
        SCOPED_TRACE(static_cast<int>(result));
        dialogs.clearLog();
        port.openResult = result;
        EXPECT_EQ(exchange.SendCommand("v"), QByteArray());
        ASSERT_EQ(dialogs.log().size(), 1u);
        EXPECT_EQ(dialogs.log()[0].box.title, "Communications Error!");
        EXPECT_TRUE(dialogs.log()[0].box.text.contains("/dev/ttyUSB0"));
        EXPECT_EQ(dialogs.log()[0].box.text.contains("group"),
                  result == SerialPort::OpenResult::PermissionDenied);
        EXPECT_EQ(port.writes, 0);
    }
}

TEST_F(PortOpenFailure, InvalidNumberIsE5)
{
    port.openResult = SerialPort::OpenResult::InvalidPortNumber;
    EXPECT_EQ(exchange.SendCommand("v"), "E5");
    EXPECT_EQ(dialogs.lines(), QStringList{"[Corvex] Invalid comport number, check system configuration."});
}

TEST_F(PortOpenFailure, FrameStuckInTheTransmitBufferIsE1)
{
    port.sendsInTime = false;
    EXPECT_EQ(exchange.SendCommand("v"), "E1");
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.title, "Communications Error!");
    EXPECT_TRUE(
        dialogs.log()[0].box.text.startsWith("Transmission Failure, Check Connection\r\n\r\nAssure CORVEX"));
}

TEST(DeviceSerialPortNames, NumbersAndPaths)
{
    EXPECT_EQ(DeviceSerialPort::deviceForNumber(1), "/dev/ttyS0");
    EXPECT_EQ(DeviceSerialPort::deviceForNumber(4), "/dev/ttyS3");
    DeviceSerialPort port;
    port.setPortNumber(3);
    EXPECT_EQ(port.deviceName(), "/dev/ttyS2");
    port.setDevicePath("  /dev/pts/7 ");
    EXPECT_EQ(port.deviceName(), "/dev/pts/7");
    for (int number : {0, 100, -1}) {
        DeviceSerialPort invalid;
        invalid.setPortNumber(number);
        EXPECT_EQ(invalid.open(), SerialPort::OpenResult::InvalidPortNumber) << number;
    }
}
