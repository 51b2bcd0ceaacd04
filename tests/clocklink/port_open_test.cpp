// A port that cannot be used: one box, a failure code, and the version query stops there. Real devices where
// a test can make the failure; a fake port for what root cannot (no access) and for a stuck transmitter.
#include "support/simulated_clock.h"

#include <QTemporaryDir>

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

// Asks the clock who it is on port: exactly one box, nothing written, no clock.
void expectVersionQueryStops(SerialPort& port, const QByteArray& code, const QString& title,
                             const QString& textStart)
{
    ScriptedDialogs dialogs;
    ClockLink link(port, dialogs);
    EXPECT_EQ(link.queryVersion(), code);
    ASSERT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(dialogs.log()[0].box.title, title);
    EXPECT_TRUE(dialogs.log()[0].box.text.startsWith(textStart)) << dialogs.log()[0].box.text.toStdString();
    EXPECT_EQ(clockStatusTexts(link.identity).status, "CORVEX NOT CONNECTED");
    EXPECT_FALSE(port.isOpen());
}
} // namespace

TEST(PortOpenFailure, DevicesThatCannotBeUsedStopTheVersionQuery)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct {
        QString device;
        int number;
        QByteArray code;
        QString title, textStart;
    } cases[] = {
        {plain.fileName(), 1, "E4", "Communications Error!", "The serial port " + plain.fileName()},
        {dir.filePath("no-such-port"), 1, "E5", "Corvex",
         "Invalid comport number, check system configuration."},
        {QString(), 0, "E5", "Corvex", "Invalid comport number, check system configuration."},
        {QString(), 100, "E5", "Corvex", "Invalid comport number, check system configuration."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString() + " " + std::to_string(c.number));
        DeviceSerialPort port;
        port.setPortNumber(c.number);
        port.setDevicePath(c.device);
        expectVersionQueryStops(port, c.code, c.title, c.textStart);
    }
}

TEST(PortOpenFailure, NoAccessNamesTheGroupThatOwnsTheDevice)
{
    FakePort port;
    port.openResult = SerialPort::OpenResult::PermissionDenied;
    expectVersionQueryStops(
        port, "E4", "Communications Error!",
        "The serial port /dev/ttyUSB0 cannot be opened: Permission denied.\r\n\r\nYou must "
        "be a member of the group that owns the device");
    EXPECT_EQ(port.writes, 0);
}

TEST(PortOpenFailure, FrameStuckInTheTransmitBufferIsE1)
{
    FakePort port;
    port.sendsInTime = false;
    expectVersionQueryStops(port, "E1", "Communications Error!",
                            "Transmission Failure, Check Connection\r\n\r\nAssure CORVEX");
}

TEST(DeviceSerialPortNames, NumbersAndPaths)
{
    EXPECT_EQ(DeviceSerialPort::deviceForNumber(1), "/dev/ttyS0");
    DeviceSerialPort port;
    port.setPortNumber(3);
    EXPECT_EQ(port.deviceName(), "/dev/ttyS2");
    port.setDevicePath("  /dev/pts/7 ");
    EXPECT_EQ(port.deviceName(), "/dev/pts/7");
}
