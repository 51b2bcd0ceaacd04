#pragma once

// A stand-in Corvex clock for tests, served on a pseudo-terminal from a background thread, so that clock
// operations run end to end through the real serial layer.
//
//   class MyTest : public SimulatedClockTest {};
//   TEST_F(MyTest, Something) {
//       sim.update([](ClockScenario& s) { s.rbm.status = "0"; s.races = {...}; });
//       ... run the operation with link(), port, dialogs ...
//       EXPECT_EQ(sim.commands(), (QList<QByteArray>{"v", "v", "e00", "W", "\x06"}));
//   }
//
// The clock starts with the default scenario: RBM version 1.23, second figure 1.00, status "3" (race mode,
// no birds logged), serial 000000FF; PCF version 1.05, serial 00FF; no inventory, no races. Set
// `s.rbm.status = "0"` before sending an inventory, which refuses status 1 and 3.

#include "clocklink/clock_link.h"
#include "model/pty_clock.h"
#include "platform/device_serial_port.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <memory>

// The clock itself. Every accessor takes the lock of the serving thread, so tests may call them at any time.
class SimulatedClock {
public:
    explicit SimulatedClock(const ClockScenario& scenario = {});

    bool started() const { return m_started; }
    QString startError() const { return m_startError; }
    QString devicePath() const { return m_clock.devicePath(); }

    // Runs f on the device model under the lock (any access the helpers below do not cover).
    template <typename F> auto withDevice(F&& f) { return m_clock.withDevice(std::forward<F>(f)); }

    // The module content as the clock holds it now (what the program sent is in it).
    ClockScenario scenario();
    // Changes the module content in place.
    void update(const std::function<void(ClockScenario&)>& change);

    // Every frame received since the start or the last clearFrames(), with its exact bytes.
    std::vector<ReceivedFrame> frames();
    // Their decoded commands: "v", "e00", "W", "S1 ..." and bare "\x06" (ACK) or "\x04" (EOT).
    QList<QByteArray> commands();
    void clearFrames();

    // Faults; counters spoil that many next answers, -1 all of them (see ClockFaults).
    void changeFaults(const std::function<void(ClockFaults&)>& change);
    void setSilent(bool silent)
    {
        changeFaults([=](ClockFaults& f) { f.silentAnswers = silent ? -1 : 0; });
    }
    void emulate9600Baud(bool on);
    // Answers the next command with this text (framed) or these exact bytes instead of the model's answer.
    void queueAnswerText(const QByteArray& text);
    void queueRawAnswer(const QByteArray& bytes);
    void replug();

private:
    PtyClock m_clock;
    bool m_started = false;
    QString m_startError;
};

// Fixture: a started SimulatedClock `sim`, a DeviceSerialPort `port` on its pseudo-terminal, ScriptedDialogs
// `dialogs` that fail the test on an unanswered question, a RecordingProgress `progress`, and a ClockLink
// (`link()`) with shortened timings (see kShortTimings; `useRealTimings()` restores the protocol's own).
class SimulatedClockTest : public ::testing::Test {
protected:
    // Waits that keep tests fast: no answer counts as "E2" after 0.5 s instead of 2.5 s, a missing ETX as
    // "E3" after 0.5 s, and a lone ACK waits 20 ms instead of 0.1 s. Answers come whole from the stand-in
    // clock, so nothing else changes; timing tests use the real values.
    static constexpr ExchangeTimings kShortTimings{
        std::chrono::milliseconds(125), std::chrono::milliseconds(500), std::chrono::milliseconds(20),
        std::chrono::milliseconds(500)};

    void SetUp() override;
    void TearDown() override;

    ClockLink& link() { return *m_link; }
    CommandExchange& exchange() { return m_link->exchange; }
    void useRealTimings() { m_link->exchange.setTimings(ExchangeTimings{}); }

    SimulatedClock sim;
    DeviceSerialPort port;
    ScriptedDialogs dialogs;
    RecordingProgress progress;

private:
    std::unique_ptr<ClockLink> m_link;
};
