#include "cli/hand_over.h"

#include "cli/command_registry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
// The folder part of a path, with its separator; empty when there is none.
std::string folderOf(const std::string& path)
{
#ifdef _WIN32
    const std::string::size_type separator = path.find_last_of("/\\");
#else
    const std::string::size_type separator = path.rfind('/');
#endif
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The running program's own path as the system knows it; argv[0] where only that is at hand.
std::string runningProgram(const char* argv0)
{
#ifdef _WIN32
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(sizeof path / sizeof path[0]));
    if (length > 0 && length < sizeof path / sizeof path[0])
        return QString::fromWCharArray(path, int(length)).toStdString();
#endif
    return argv0 ? argv0 : "";
}
} // namespace

std::string siblingProgram(const char* argv0, const std::string& name)
{
#ifdef _WIN32
    const std::string file = name + ".exe";
#else
    const std::string& file = name;
#endif
    return folderOf(runningProgram(argv0)) + file;
}

int handOver(const std::string& program, char* argv[])
{
#ifdef _WIN32
    // Windows has no exec that keeps the console waiting; the sibling runs on the same console and
    // standard streams, and its exit status becomes this program's.
    int argc = 0;
    while (argv[argc])
        ++argc;
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QProcess sibling;
    sibling.setProcessChannelMode(QProcess::ForwardedChannels);
    sibling.setInputChannelMode(QProcess::ForwardedInputChannel);
    sibling.start(QString::fromStdString(program), arguments);
    if (sibling.waitForStarted(-1) && sibling.waitForFinished(-1) &&
        sibling.exitStatus() == QProcess::NormalExit)
        return sibling.exitCode();
    std::fprintf(stderr, "corvex-cli: cannot run %s: %s\n", program.c_str(),
                 sibling.errorString().toLocal8Bit().constData());
    return ExitFailed;
#else
    // A bare name is looked up on the PATH, as the shell found this program.
    if (program.find('/') == std::string::npos)
        execvp(program.c_str(), argv);
    else
        execv(program.c_str(), argv);
    std::fprintf(stderr, "corvex-cli: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return ExitFailed;
#endif
}
