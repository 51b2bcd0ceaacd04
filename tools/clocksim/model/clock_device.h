#pragma once

#include "model/clock_scenario.h"
#include "model/race_flight.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <deque>
#include <optional>
#include <vector>

// 9600 baud, 8N1: ten bits per character.
inline constexpr std::chrono::microseconds kCharTime9600{1040};

// Faults the stand-in clock can be told to make. Counters count the next answers they spoil; -1 spoils all.
struct ClockFaults {
    int nakFrames = 0;           // answer NAK to frames, whatever they hold
    int silentAnswers = 0;       // give no answer at all
    int missingEtx = 0;          // framed answers without their ETX
    int badChecksum = 0;         // framed answers with a wrong checksum
    int trailingBytes = 0;       // framed answers followed by two stray bytes
    int unplugAfterRecords = -1; // after this many records of a series, fall silent until replugged
    // Time per character in both directions (kCharTime9600 emulates the line); zero answers at once.
    // The model only carries it; the pty runner applies it.
    std::chrono::microseconds charTime{0};
};

// One frame or bare control character the clock received, for tests that check exact bytes.
struct ReceivedFrame {
    QByteArray raw;     // exactly as received
    bool bare = false;  // a lone ACK, NAK or EOT
    bool rbm = false;   // addressed with 0x81
    QByteArray command; // without STX, address, checksum and ETX; the byte itself when bare
    bool checksumOk = true;
};

// The Corvex clock as a state machine: fed the bytes the program writes, in any chunking, it returns the
// bytes it answers. The memory module (RBM, address 0x81) serves its version, the administration series "X"
// and the race series "W", and keeps the S1/S2/S3/Z and liberation records sent to it; the sensor board
// (PCF, no address) answers "v" and "e00". No threads and no I/O.
class ClockDevice {
public:
    explicit ClockDevice(ClockScenario scenario = {});

    // Takes received bytes and returns the answer bytes they cause.
    QByteArray receive(const QByteArray& bytes);

    const ClockScenario& scenario() const { return m_scenario; }
    void setScenario(const ClockScenario& scenario);

    ClockFaults& faults() { return m_faults; }
    const ClockFaults& faults() const { return m_faults; }

    const std::vector<ReceivedFrame>& frames() const { return m_frames; }
    // The decoded commands of the frames received, in order (a bare control character as itself).
    QList<QByteArray> commands() const;
    void clearFrames() { m_frames.clear(); }

    // Answers the next commands with these texts, framed, instead of the model's own answer.
    void queueAnswerText(const QByteArray& text) { m_scripted.push_back({text, true}); }
    // Answers the next commands with exactly these bytes (empty: no answer).
    void queueRawAnswer(const QByteArray& bytes) { m_scripted.push_back({bytes, false}); }

    // With a plan, liberation points received make the module fly them: the next "W" series serves the
    // races flown from the inventory and liberation table it then holds (see flyRaces).
    void setFlyAfterLiberations(std::optional<FlightPlan> plan) { m_flightPlan = plan; }

    bool unplugged() const { return m_unplugged; }
    void replug() { m_unplugged = false; }
    bool seriesRunning() const { return m_series != Series::None; }

    // STX + leading character + text + checksum + ETX, as the clock frames its answers.
    static QByteArray frameAnswer(const QByteArray& text);
    static constexpr char kLeadingCharacter = '0';

private:
    enum class Series { None, Admin, Race };
    struct Scripted {
        QByteArray bytes;
        bool framed;
    };

    QByteArray handleByte(char byte);
    QByteArray handleFrame(const QByteArray& raw);
    QByteArray handleBare(char byte);
    QByteArray answerRbm(const QByteArray& command);
    QByteArray answerPcf(const QByteArray& command);
    QByteArray nextSeriesAnswer();
    QList<QByteArray> adminRecords() const;
    QByteArray deliver(QByteArray answer, bool framed);
    static bool consume(int& counter);

    ClockScenario m_scenario;
    ClockFaults m_faults;
    std::vector<ReceivedFrame> m_frames;
    std::deque<Scripted> m_scripted;
    QByteArray m_partial; // a frame being received
    bool m_inFrame = false;
    Series m_series = Series::None;
    int m_seriesIndex = 0;
    int m_seriesRecords = 0;
    bool m_unplugged = false;
    QByteArray m_lastAnswer;
    std::optional<FlightPlan> m_flightPlan;
    bool m_flightDue = false;
};
