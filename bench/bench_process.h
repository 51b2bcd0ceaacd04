#pragma once

// Programs started by the benchmarks with posix_spawn: a small launcher, as a shell would start them, so that
// the figures hold the program's own time and not the cost of copying a large benchmark process.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

// A started program with its standard input and output on pipes; standard error goes to /dev/null.
class ChildProcess {
public:
    ChildProcess(const QString& program, const QStringList& arguments)
    {
        std::vector<std::string> words{program.toStdString()};
        for (const QString& argument : arguments)
            words.push_back(argument.toStdString());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        int input[2];
        int output[2];
        if (pipe2(input, O_CLOEXEC) != 0)
            return;
        if (pipe2(output, O_CLOEXEC) != 0) {
            closeBoth(input);
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        started = std::chrono::steady_clock::now();
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        m_in = input[1];
        m_out = output[0];
    }
    ~ChildProcess()
    {
        closeInput();
        if (m_out >= 0)
            ::close(m_out);
        wait();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    bool writeLine(const QString& line)
    {
        const std::string bytes = line.toStdString() + '\n';
        return ::write(m_in, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    void closeInput()
    {
        if (m_in >= 0)
            ::close(m_in);
        m_in = -1;
    }

    // Reads until count more lines have come; false when the output ends first.
    bool readLines(int count, std::string* text = nullptr)
    {
        while (count > 0) {
            const std::string::size_type end = m_buffer.find('\n');
            if (end != std::string::npos) {
                if (text)
                    text->append(m_buffer, 0, end + 1);
                m_buffer.erase(0, end + 1);
                --count;
                continue;
            }
            char chunk[4096];
            const ssize_t got = ::read(m_out, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            m_buffer.append(chunk, static_cast<size_t>(got));
        }
        return true;
    }

    // Reads the rest of the output (the program has ended or will).
    std::string readAll()
    {
        std::string text = std::move(m_buffer);
        m_buffer.clear();
        char chunk[4096];
        ssize_t got;
        while ((got = ::read(m_out, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
            if (got > 0)
                text.append(chunk, static_cast<size_t>(got));
        }
        return text;
    }

    // Waits for the end; the exit status, or -1 when it did not exit normally.
    int wait()
    {
        if (m_pid > 0) {
            int status = 0;
            while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_pid = -1;
        }
        return m_exitCode;
    }
    // For callers that reaped the process themselves (waitpid of any child).
    void reaped(int status)
    {
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m_pid = -1;
    }

    std::chrono::steady_clock::time_point started;

private:
    static void closeBoth(int (&fds)[2])
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_exitCode = -1;
    std::string m_buffer;
};

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
