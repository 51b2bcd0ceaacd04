#include "clocklink/command_exchange.h"

#include <QFileInfo>

using namespace std::chrono;

const QString kCommunicationsErrorTitle = QStringLiteral("Communications Error!");
const QString kAdviceText =
    QStringLiteral("\r\n\r\nAssure CORVEX is connected to the assigned\r\nComPort using cable "
                   "#5733 & the CORVEX\r\npower is on, the RBM is inserted AND the\r\n"
                   "CORVEX is ready for logging or user input");

QByteArray FrameChecksum(const QByteArray& text)
{
    quint32 sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    unsigned lo = sum % 256;
    unsigned hi = (sum / 256) % 256;
    if (lo < 32)
        lo += 128;
    if (hi < 32)
        hi += 128;
    QByteArray checksum;
    checksum.append(static_cast<char>(lo));
    checksum.append(static_cast<char>(hi));
    return checksum;
}

QByteArray FrameCommand(const QByteArray& command, const QByteArray& addressPrefix)
{
    if (command.size() == 1 &&
        (command[0] == control::ACK || command[0] == control::NAK || command[0] == control::EOT))
        return command;
    if (command.isEmpty())
        return QByteArrayLiteral("E0");
    const QByteArray body = addressPrefix + command;
    return control::text(control::STX) + body + FrameChecksum(body) + control::text(control::ETX);
}

CommandExchange::CommandExchange(SerialPort& port, Dialogs& dialogs, ExchangeTimings timings)
    : m_port(port), m_dialogs(dialogs), m_timings(timings)
{
}

QByteArray CommandExchange::fail(const QByteArray& code, const QString& message)
{
    m_dialogs.inform(message, kCommunicationsErrorTitle);
    m_port.close();
    return code;
}

QByteArray CommandExchange::openPort()
{
    switch (m_port.open()) {
    case SerialPort::OpenResult::Opened:
        return {};
    case SerialPort::OpenResult::InvalidPortNumber:
        m_dialogs.inform(QStringLiteral("Invalid comport number, check system configuration."),
                         kApplicationTitle);
        return QByteArrayLiteral("E5");
    case SerialPort::OpenResult::PermissionDenied: {
        const QString group = QFileInfo(m_port.deviceName()).group();
        m_dialogs.inform(
            QStringLiteral("The serial port %1 cannot be opened: %2.\r\n\r\nYou must be a member of the "
                           "group that owns the device (%3) to use it.")
                .arg(m_port.deviceName(), m_port.lastError(),
                     group.isEmpty() ? QStringLiteral("dialout") : group),
            kCommunicationsErrorTitle);
        return kPortUnavailable;
    }
    case SerialPort::OpenResult::Failed:
        break;
    }
    m_dialogs.inform(QStringLiteral("The serial port %1 cannot be opened: %2.")
                         .arg(m_port.deviceName(), m_port.lastError()),
                     kCommunicationsErrorTitle);
    return kPortUnavailable;
}

QByteArray CommandExchange::SendCommand(const QByteArray& command)
{
    m_lastAttempts = 0;
    m_port.discardBuffers();
    if (!m_port.isOpen()) {
        // A port that cannot be opened is a failure like any other, so callers stop at once.
        if (const QByteArray failure = openPort(); !failure.isEmpty())
            return failure;
        m_port.discardBuffers();
    }

    const QByteArray frame = FrameCommand(command, m_addressPrefix);
    if (frame == "E0" && command.isEmpty())
        return fail(QByteArrayLiteral("E0"), QStringLiteral("Output string format error"));

    QByteArray answer;
    for (;;) {
        if (!m_port.write(frame)) {
            m_port.close();
            return {};
        }
        ++m_lastAttempts;

        if (!m_port.waitForSent(m_timings.drain))
            return fail(QByteArrayLiteral("E1"),
                        QStringLiteral("Transmission Failure, Check Connection") + kAdviceText);

        const auto firstDeadline = MonotonicClock::now() + m_timings.firstCharacter;
        while (m_port.bytesAvailable() < 1) {
            const auto left = ceil<milliseconds>(firstDeadline - MonotonicClock::now());
            if (left.count() <= 0 || (!m_port.waitForInput(left) && MonotonicClock::now() >= firstDeadline))
                break;
        }
        if (m_port.bytesAvailable() < 1)
            return fail(QByteArrayLiteral("E2"),
                        QStringLiteral("No Corvex detected. Please check connection.") + kAdviceText);

        // A lone ACK, NAK or ESC is told from the start of a frame by what follows within the settle time.
        const auto settleDeadline = MonotonicClock::now() + m_timings.settle;
        while (m_port.bytesAvailable() <= 1) {
            const auto left = ceil<milliseconds>(settleDeadline - MonotonicClock::now());
            if (left.count() <= 0)
                break;
            m_port.waitForInput(left);
        }
        answer = m_port.readAll();

        if (answer.size() == 1) {
            const char c = answer[0];
            if (c == control::NAK && m_lastAttempts == 1)
                continue;
            return answer;
        }
        break;
    }

    const auto endDeadline = MonotonicClock::now() + m_timings.endOfText;
    while (!answer.contains(control::ETX)) {
        const auto left = ceil<milliseconds>(endDeadline - MonotonicClock::now());
        if (left.count() <= 0)
            return fail(QByteArrayLiteral("E3"),
                        QStringLiteral("Communication Timeout, Check Connection") + kAdviceText);
        if (m_port.waitForInput(left))
            answer += m_port.readAll();
        else if (!m_port.isOpen())
            return fail(QByteArrayLiteral("E3"),
                        QStringLiteral("Communication Timeout, Check Connection") + kAdviceText);
    }

    if (answer.isEmpty())
        return QByteArrayLiteral("E8");
    const qsizetype n = answer.size();
    if (n < 5)
        return {};
    // Positions count from the end of what was read, so bytes after ETX fail the checksum.
    if (FrameChecksum(answer.mid(1, n - 4)) != answer.mid(n - 3, 2))
        return {};
    return answer.mid(2, n - 5);
}
