// Feeds arbitrary bytes to the command exchange as the clock's answer, then through the version query and the
// administration header read.
#include "clocklink/clock_link.h"
#include "platform/progress.h"
#include "testing/scripted_dialogs.h"

#include <cstdint>
#include <utility>

namespace {

// A port whose input is the fuzz data, handed out in chunks.
class FuzzPort : public SerialPort {
public:
    FuzzPort(const uint8_t* data, size_t size)
        : m_input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
    {
    }
    OpenResult open() override
    {
        m_open = true;
        return OpenResult::Opened;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void discardBuffers() override { m_buffer.clear(); }
    bool write(const QByteArray&) override { return m_open; }
    qint64 bytesToWrite() const override { return 0; }
    qint64 bytesAvailable() const override { return m_buffer.size(); }
    QByteArray readAll() override { return std::exchange(m_buffer, {}); }
    bool waitForInput(std::chrono::milliseconds) override
    {
        if (m_position >= m_input.size())
            return false;
        const qsizetype chunk = 1 + (static_cast<unsigned char>(m_input[m_position]) % 7);
        m_buffer += m_input.mid(m_position, chunk);
        m_position += chunk;
        return true;
    }
    bool waitForSent(std::chrono::milliseconds) override { return true; }
    QString deviceName() const override { return QStringLiteral("fuzz"); }
    QString lastError() const override { return {}; }

private:
    QByteArray m_input;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    bool m_open = false;
};

class NullProgress : public Progress {
public:
    void show() override {}
    void setTitle(const QString&) override {}
    void setUpperLine(const QString&) override {}
    void setLowerLine(const QString&) override {}
    void repaint() override {}
    void close() override {}
    bool isShown() const override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzPort port(data, size);
    ScriptedDialogs dialogs;
    // The port never blocks; the shortest waits keep the exchange's loops short once the input runs out.
    const std::chrono::milliseconds tick(1);
    const ExchangeTimings instant{tick, tick, tick, tick};
    ClockLink link(port, dialogs, instant);
    link.queryVersion();
    (void)clockStatusTexts(link.identity);
    NullProgress progress;
    (void)ReadAdminHeaderName(link.exchange, link.flags, progress);
    for (int i = 0; i < 4; ++i)
        (void)ReadNextRaceBlock(link.exchange, link.flags);
    return 0;
}
