#include "model/pty_clock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

struct TimedByte {
    char byte;
    Clock::time_point at;
};

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

timespec toTimespec(Clock::duration d)
{
    const auto ns = std::max<long long>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}
} // namespace

PtyClock::PtyClock(ClockDevice device) : m_device(std::move(device)) {}

PtyClock::~PtyClock()
{
    stop();
}

bool PtyClock::start(QString* error)
{
    if (running())
        return true;
    const auto fail = [&](const char* what) {
        if (error)
            *error = systemError(what);
        closeFd(m_slave);
        closeFd(m_master);
        closeFd(m_wakeRead);
        closeFd(m_wakeWrite);
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open slave");
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return fail("tcsetattr");
    // Non-blocking: answers nobody reads are dropped rather than stalling the clock.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return fail("pipe");
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    m_stop = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void PtyClock::stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        const char wake = 1;
        [[maybe_unused]] const auto written = ::write(m_wakeWrite, &wake, 1);
        m_thread.join();
    }
    closeFd(m_slave);
    closeFd(m_master);
    closeFd(m_wakeRead);
    closeFd(m_wakeWrite);
}

void PtyClock::serve()
{
    std::deque<TimedByte> incoming; // received, waiting until they have "arrived" on the line
    std::deque<TimedByte> outgoing; // answered, waiting for their turn on the line
    Clock::time_point lastIn{};
    Clock::time_point lastOut{};
    while (!m_stop) {
        const auto now = Clock::now();
        if (!incoming.empty() && incoming.front().at <= now) {
            std::lock_guard<std::mutex> lock(m_mutex);
            const auto charTime = m_device.faults().charTime;
            while (!incoming.empty() && incoming.front().at <= now) {
                // An answer starts when the byte that caused it has arrived, not when this thread woke.
                const auto base = incoming.front().at;
                const QByteArray answer = m_device.receive(QByteArray(1, incoming.front().byte));
                incoming.pop_front();
                for (char c : answer) {
                    lastOut = charTime.count() > 0 ? std::max(lastOut, base) + charTime : base;
                    outgoing.push_back({c, lastOut});
                }
            }
        }
        QByteArray due;
        while (!outgoing.empty() && outgoing.front().at <= now) {
            due += outgoing.front().byte;
            outgoing.pop_front();
        }
        if (!due.isEmpty()) {
            [[maybe_unused]] const auto written =
                ::write(m_master, due.constData(), static_cast<size_t>(due.size()));
        }

        Clock::time_point next = now + std::chrono::seconds(1);
        if (!incoming.empty())
            next = std::min(next, incoming.front().at);
        if (!outgoing.empty())
            next = std::min(next, outgoing.front().at);
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        const timespec timeout = toTimespec(next - Clock::now());
        const int ready = ::ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            break;
        if (fds[0].revents & POLLIN) {
            char buffer[4096];
            const auto count = ::read(m_master, buffer, sizeof buffer);
            const auto received = Clock::now();
            std::chrono::microseconds charTime;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                charTime = m_device.faults().charTime;
            }
            for (ssize_t i = 0; i < count; ++i) {
                lastIn = charTime.count() > 0 ? std::max(lastIn, received) + charTime : received;
                incoming.push_back({buffer[i], lastIn});
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Cannot happen while the own slave descriptor is open; never spin if it does.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}
