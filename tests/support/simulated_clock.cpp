#include "simulated_clock.h"

SimulatedClock::SimulatedClock(const ClockScenario& scenario) : m_clock(ClockDevice(scenario))
{
    m_started = m_clock.start(&m_startError);
}

ClockScenario SimulatedClock::scenario()
{
    return m_clock.withDevice([](ClockDevice& d) { return d.scenario(); });
}

void SimulatedClock::update(const std::function<void(ClockScenario&)>& change)
{
    m_clock.withDevice([&](ClockDevice& d) {
        ClockScenario s = d.scenario();
        change(s);
        d.setScenario(s);
    });
}

std::vector<ReceivedFrame> SimulatedClock::frames()
{
    return m_clock.withDevice([](ClockDevice& d) { return d.frames(); });
}

QList<QByteArray> SimulatedClock::commands()
{
    return m_clock.withDevice([](ClockDevice& d) { return d.commands(); });
}

void SimulatedClock::clearFrames()
{
    m_clock.withDevice([](ClockDevice& d) { d.clearFrames(); });
}

void SimulatedClock::changeFaults(const std::function<void(ClockFaults&)>& change)
{
    m_clock.withDevice([&](ClockDevice& d) { change(d.faults()); });
}

void SimulatedClock::emulate9600Baud(bool on)
{
    changeFaults([=](ClockFaults& f) { f.charTime = on ? kCharTime9600 : std::chrono::microseconds(0); });
}

void SimulatedClock::queueAnswerText(const QByteArray& text)
{
    m_clock.withDevice([&](ClockDevice& d) { d.queueAnswerText(text); });
}

void SimulatedClock::queueRawAnswer(const QByteArray& bytes)
{
    m_clock.withDevice([&](ClockDevice& d) { d.queueRawAnswer(bytes); });
}

void SimulatedClock::replug()
{
    m_clock.withDevice([](ClockDevice& d) { d.replug(); });
}

void SimulatedClockTest::SetUp()
{
    ASSERT_TRUE(sim.started()) << sim.startError().toStdString();
    port.setDevicePath(sim.devicePath());
    dialogs.onUnexpected = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
    m_link = std::make_unique<ClockLink>(port, dialogs, kShortTimings);
}

void SimulatedClockTest::TearDown()
{
    port.close();
}
