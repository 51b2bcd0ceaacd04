#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>

// A real serial device through QSerialPort: COM<N> on Windows, /dev/ttyS<N-1> on Linux, or a device path
// (a USB adapter, a pseudo-terminal) that overrides the number.
class DeviceSerialPort : public SerialPort {
public:
    DeviceSerialPort();
    ~DeviceSerialPort() override;

    // Port numbers 1-99 are valid; anything else makes open() report an invalid number.
    void setPortNumber(int number);
    int portNumber() const { return m_portNumber; }
    // A device path used instead of the number; empty returns to the number.
    void setDevicePath(const QString& path);
    QString devicePath() const { return m_devicePath; }

    static QString deviceForNumber(int number);

    OpenResult open() override;
    void close() override;
    bool isOpen() const override;
    void discardBuffers() override;
    bool write(const QByteArray& bytes) override;
    qint64 bytesToWrite() const override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    bool waitForInput(std::chrono::milliseconds timeout) override;
    bool waitForSent(std::chrono::milliseconds timeout) override;
    QString deviceName() const override;
    QString lastError() const override { return m_lastError; }

private:
    QSerialPort m_port;
    int m_portNumber = 1;
    QString m_devicePath;
    QString m_lastError;
};
