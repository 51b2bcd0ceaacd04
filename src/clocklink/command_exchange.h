#pragma once

#include "clocklink/control_characters.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/timing.h"

#include <QByteArray>
#include <QString>

// Two checksum characters, low first, over the bytes of text; never a control character.
QByteArray FrameChecksum(const QByteArray& text);

// ACK, NAK and EOT go out bare; an empty command gives "E0"; anything else is
// STX + address + command + checksum + ETX.
QByteArray FrameCommand(const QByteArray& command, const QByteArray& addressPrefix);

// True for the result codes of a failed exchange (and "E9" of the version query).
inline bool isFailureCode(const QByteArray& answer)
{
    return answer.startsWith('E') && answer.size() == 2;
}

// The port exists but cannot be opened (held by another program, no access, not a serial device).
inline const QByteArray kPortUnavailable = QByteArrayLiteral("E4");

extern const QString kCommunicationsErrorTitle;
extern const QString kAdviceText;

// The single request/answer exchange with the clock. Every outcome is a returned text: the answer text of a
// framed answer, a one-character answer, a two-character result code beginning with "E", or an empty text.
class CommandExchange {
public:
    CommandExchange(SerialPort& port, Dialogs& dialogs, ExchangeTimings timings = {});

    QByteArray SendCommand(const QByteArray& command);

    const QByteArray& AddressPrefix() const { return m_addressPrefix; }
    void setAddressPrefix(const QByteArray& prefix) { m_addressPrefix = prefix; }

    SerialPort& port() { return m_port; }
    Dialogs& dialogs() { return m_dialogs; }
    void closePort() { m_port.close(); }
    // Frames written by the last SendCommand (1, or 2 after a NAK).
    int lastAttempts() const { return m_lastAttempts; }
    const ExchangeTimings& timings() const { return m_timings; }
    void setTimings(const ExchangeTimings& timings) { m_timings = timings; }

private:
    QByteArray fail(const QByteArray& code, const QString& message);
    // Opens the port; on failure shows why and gives the result code ("E5" or kPortUnavailable).
    QByteArray openPort();

    SerialPort& m_port;
    Dialogs& m_dialogs;
    ExchangeTimings m_timings;
    QByteArray m_addressPrefix = kRbmAddress;
    int m_lastAttempts = 0;
};
