#pragma once

#include "model/clock_device.h"

#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

// Serves a ClockDevice on a pseudo-terminal from a background thread. The program opens devicePath() as
// its serial port. The runner keeps a slave descriptor open itself, so the master never sees a hang-up
// while the program has the port closed between operations. Emulates the line speed when the device's
// faults ask for a character time.
class PtyClock {
public:
    explicit PtyClock(ClockDevice device = ClockDevice());
    ~PtyClock();
    PtyClock(const PtyClock&) = delete;
    PtyClock& operator=(const PtyClock&) = delete;

    // Opens the pseudo-terminal and starts serving; false with a reason when the system refuses.
    bool start(QString* error = nullptr);
    // Stops serving and closes the pseudo-terminal; called by the destructor.
    void stop();
    bool running() const { return m_thread.joinable(); }
    QString devicePath() const { return m_devicePath; }

    // Runs f on the device under the lock that the serving thread takes.
    template <typename F> auto withDevice(F&& f)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return f(m_device);
    }

private:
    void serve();

    ClockDevice m_device;
    std::mutex m_mutex;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    int m_master = -1;
    int m_slave = -1;
    int m_wakeRead = -1; // a pipe that ends the serving thread's wait on stop()
    int m_wakeWrite = -1;
    QString m_devicePath;
};
