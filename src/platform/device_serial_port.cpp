#include "platform/device_serial_port.h"

#include <QFile>
#include <QFileInfo>
#include <thread>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

DeviceSerialPort::DeviceSerialPort() = default;
DeviceSerialPort::~DeviceSerialPort()
{
    m_port.close();
}

void DeviceSerialPort::setPortNumber(int number)
{
    m_portNumber = number;
}

void DeviceSerialPort::setDevicePath(const QString& path)
{
    m_devicePath = path.trimmed();
}

QString DeviceSerialPort::deviceForNumber(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString DeviceSerialPort::deviceName() const
{
    return m_devicePath.isEmpty() ? deviceForNumber(m_portNumber) : m_devicePath;
}

SerialPort::OpenResult DeviceSerialPort::open()
{
    if (m_port.isOpen())
        return OpenResult::Opened;
    if (m_devicePath.isEmpty() && (m_portNumber < 1 || m_portNumber > 99)) {
        m_lastError = QStringLiteral("Invalid port number %1").arg(m_portNumber);
        return OpenResult::InvalidPortNumber;
    }
    const QString device = deviceName();
#ifndef Q_OS_WIN
    // QSerialPort takes a bare name as relative to /dev; a path must exist as given.
    if (!QFileInfo::exists(device)) {
        m_lastError = QStringLiteral("No such device");
        return OpenResult::InvalidPortNumber;
    }
#endif
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadWrite)) {
        m_lastError.clear();
        return OpenResult::Opened;
    }
    m_lastError = m_port.errorString();
    const auto error = m_port.error();
    m_port.clearError();
    if (error == QSerialPort::DeviceNotFoundError)
        return OpenResult::InvalidPortNumber;
#ifndef Q_OS_WIN
    // QSerialPort also says "permission" when another program holds the lock; only a missing access right
    // is the user's group membership.
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0)
        return OpenResult::PermissionDenied;
#endif
    return OpenResult::Failed;
}

void DeviceSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool DeviceSerialPort::isOpen() const
{
    return m_port.isOpen();
}

void DeviceSerialPort::discardBuffers()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll();
}

bool DeviceSerialPort::write(const QByteArray& bytes)
{
    return m_port.isOpen() && m_port.write(bytes) == bytes.size();
}

qint64 DeviceSerialPort::bytesToWrite() const
{
    return m_port.isOpen() ? m_port.bytesToWrite() : 0;
}

qint64 DeviceSerialPort::bytesAvailable() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray DeviceSerialPort::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

bool DeviceSerialPort::waitForInput(std::chrono::milliseconds timeout)
{
    if (!m_port.isOpen())
        return false;
    const auto start = std::chrono::steady_clock::now();
    const bool ready = m_port.waitForReadyRead(static_cast<int>(std::max<long long>(0, timeout.count())));
    if (!ready) {
        const auto error = m_port.error();
        m_port.clearError(); // a timeout is an answer, not a failure
        // A device that went away fails at once; wait out the deadline instead of letting callers spin.
        if (error != QSerialPort::TimeoutError && error != QSerialPort::NoError)
            std::this_thread::sleep_until(start + timeout);
    }
    return ready;
}

bool DeviceSerialPort::waitForSent(std::chrono::milliseconds timeout)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesToWrite() == 0)
        return true;
    const bool written =
        m_port.waitForBytesWritten(static_cast<int>(std::max<long long>(0, timeout.count())));
    if (!written && m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
    return m_port.bytesToWrite() == 0;
}
