// A port that cannot be used: one box, a failure code, and the version query stops there. Real devices where
// a test can make the failure; a fake port for what root cannot (no access) and for a stuck transmitter.
#include "support/simulated_clock.h"

#include <QTemporaryDir>

namespace {
// Opens with the given result; a port that opens may still never get its bytes out.
struct FakePort : SerialPort {
    explicit FakePort(OpenResult r, bool sends = true) : result(r), sendsInTime(sends) {}
    OpenResult open() override { return opened = result == OpenResult::Opened, result; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    void discardBuffers() override {}
    bool write(const QByteArray&) override { return ++writes, opened; }
    qint64 bytesToWrite() const override { return sendsInTime ? 0 : 6; }
    qint64 bytesAvailable() const override { return 0; }
    QByteArray readAll() override { return {}; }
    bool waitForInput(std::chrono::milliseconds) override { return false; }
    bool waitForSent(std::chrono::milliseconds) override { return sendsInTime; }
    QString deviceName() const override { return "/dev/ttyUSB0"; }
    QString lastError() const override { return "Permission denied"; }
    OpenResult result;
    bool sendsInTime, opened = false;
    int writes = 0;
};

DeviceSerialPort* device(const QString& path, int number)
{
    auto* port = new DeviceSerialPort;
    port->setPortNumber(number);
    port->setDevicePath(path);
    return port;
}
} // namespace

TEST(PortOpenFailure, PortsThatCannotBeUsedStopTheVersionQuery)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString invalid = "Invalid comport number, check system configuration.";
    const std::tuple<SerialPort*, QByteArray, QString, QString> cases[] = {
        {device(plain.fileName(), 1), "E4", "Communications Error!", "The serial port " + plain.fileName()},
        {device(dir.filePath("no-such-port"), 1), "E5", "Corvex", invalid},
        {device({}, 0), "E5", "Corvex", invalid},
        {device({}, 100), "E5", "Corvex", invalid},
        {new FakePort(SerialPort::OpenResult::PermissionDenied), "E4", "Communications Error!",
         "The serial port /dev/ttyUSB0 cannot be opened: Permission denied.\r\n\r\nYou must be a member of "
         "the "
         "group that owns the device"},
        {new FakePort(SerialPort::OpenResult::Opened, false), "E1", "Communications Error!",
         "Transmission Failure, Check Connection\r\n\r\nAssure CORVEX"},
    };
    for (const auto& [port, code, title, textStart] : cases) {
        std::unique_ptr<SerialPort> owned(port);
        SCOPED_TRACE(textStart.toStdString());
        ScriptedDialogs dialogs;
        ClockLink link(*port, dialogs);
        EXPECT_EQ(link.queryVersion(), code);
        ASSERT_EQ(dialogs.log().size(), 1u);
        EXPECT_EQ(dialogs.log()[0].box.title, title);
        EXPECT_TRUE(dialogs.log()[0].box.text.startsWith(textStart))
            << dialogs.log()[0].box.text.toStdString();
        EXPECT_EQ(clockStatusTexts(link.identity).status, "CORVEX NOT CONNECTED");
        EXPECT_FALSE(port->isOpen());
        if (auto* fake = dynamic_cast<FakePort*>(port)) {
            EXPECT_EQ(fake->writes, code == "E1" ? 1 : 0);
        }
    }
}

TEST(DeviceSerialPortNames, NumbersAndPaths)
{
    EXPECT_EQ(DeviceSerialPort::deviceForNumber(1), "/dev/ttyS0");
    std::unique_ptr<DeviceSerialPort> port(device("  /dev/pts/7 ", 3));
    EXPECT_EQ(port->deviceName(), "/dev/pts/7");
    port->setDevicePath({});
    EXPECT_EQ(port->deviceName(), "/dev/ttyS2");
}
