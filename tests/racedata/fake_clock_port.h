#pragma once

#include "clocklink/command_exchange.h"
#include "platform/serial_port.h"

#include <QByteArrayList>
#include <QStringList>
#include <chrono>
#include <thread>

// An in-memory memory module behind the serial interface: answers the version questions, the race series
// ("W") and the administration series ("X") at once, so the operations run through the real exchange
// without a pseudo-terminal. Silence after a given number of race records stands for a clock unplugged.
class FakeClockPort : public SerialPort {
public:
    QStringList raceRecords;
    QStringList adminRecords;
    QByteArrayList extraRaceAnswers; // one-character answers sent before the first race record
    QByteArray rbmVersionAnswer = QByteArrayLiteral("V0123010000010012345");
    int silentAfterRaceRecords = -1; // -1: never
    bool badChecksumInsteadOfSilence = false;
    int racesStarted = 0;
    QByteArrayList commands; // every command received, address stripped

    OpenResult open() override
    {
        m_open = true;
        return OpenResult::Opened;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void discardBuffers() override { m_pending.clear(); }
    bool write(const QByteArray& bytes) override
    {
        answer(bytes);
        return true;
    }
    qint64 bytesToWrite() const override { return 0; }
    qint64 bytesAvailable() const override { return m_pending.size(); }
    QByteArray readAll() override
    {
        QByteArray all = m_pending;
        m_pending.clear();
        return all;
    }
    bool waitForInput(std::chrono::milliseconds timeout) override
    {
        if (!m_pending.isEmpty())
            return false; // nothing new will come
        std::this_thread::sleep_for(timeout);
        return false;
    }
    bool waitForSent(std::chrono::milliseconds) override { return true; }
    QString deviceName() const override { return QStringLiteral("fake"); }
    QString lastError() const override { return {}; }

    static ExchangeTimings quickTimings()
    {
        return {std::chrono::milliseconds(50), std::chrono::milliseconds(60), std::chrono::milliseconds(2),
                std::chrono::milliseconds(60)};
    }

private:
    void frame(const QByteArray& text)
    {
        const QByteArray body = QByteArrayLiteral("A") + text;
        m_pending = control::text(control::STX) + body + FrameChecksum(body) + control::text(control::ETX);
    }

    void answer(const QByteArray& bytes)
    {
        if (bytes.size() == 1) {
            commands << bytes;
            if (bytes[0] == control::ACK)
                next();
            return;
        }
        QByteArray body = bytes.mid(1, bytes.size() - 4);
        const bool rbm = body.startsWith(kRbmAddress);
        if (rbm)
            body.remove(0, 1);
        commands << body;
        if (body == "v")
            rbm ? frame(rbmVersionAnswer) : frame(QByteArrayLiteral("V123"));
        else if (body == "e00")
            frame(QByteArrayLiteral("e00ABCD"));
        else if (body == "W" || body == "X") {
            m_series = body[0];
            m_index = 0;
            m_extra = 0;
            if (m_series == 'W')
                ++racesStarted;
            m_pending = control::text(control::ACK);
        } else
            m_pending = control::text(control::ACK);
    }

    void next()
    {
        if (m_series == 'W') {
            if (m_extra < extraRaceAnswers.size()) {
                m_pending = extraRaceAnswers[m_extra++];
                return;
            }
            if (silentAfterRaceRecords >= 0 && m_index >= silentAfterRaceRecords) {
                if (badChecksumInsteadOfSilence) {
                    frame(raceRecords.value(m_index).toLatin1());
                    m_pending[m_pending.size() - 2] = 'x';
                }
                return;
            }
            if (m_index < raceRecords.size())
                frame(raceRecords[m_index++].toLatin1());
            else
                m_pending = control::text(control::EOT);
        } else if (m_series == 'X') {
            if (m_index < adminRecords.size())
                frame(adminRecords[m_index++].toLatin1());
            else
                m_pending = control::text(control::EOT);
        }
    }

    bool m_open = false;
    QByteArray m_pending;
    char m_series = 0;
    int m_index = 0;
    int m_extra = 0;
};
