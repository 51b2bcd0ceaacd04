#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// What the command exchange needs of a serial port, and no more.
class SerialPort {
public:
    enum class OpenResult { Opened, InvalidPortNumber, PermissionDenied, Failed };

    virtual ~SerialPort() = default;

    virtual OpenResult open() = 0; // 9600 baud, 8 data bits, no parity, 1 stop bit
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void discardBuffers() = 0;
    virtual bool write(const QByteArray& bytes) = 0;
    virtual qint64 bytesToWrite() const = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;

    // Block until new input arrives from the device or the deadline passes; true when new bytes came in.
    virtual bool waitForInput(std::chrono::milliseconds timeout) = 0;
    // Block until the transmit buffer is empty or the deadline passes; true when it is empty.
    virtual bool waitForSent(std::chrono::milliseconds timeout) = 0;

    // The device that open() uses, and the reason for the last failed open, for messages.
    virtual QString deviceName() const = 0;
    virtual QString lastError() const = 0;
};
