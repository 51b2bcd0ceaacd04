// corvex-cli batch: many commands in one run, on one database connection, read from a file or standard
// input. A client that keeps a batch open answers each command without starting a program or logging in
// to the server again.
#include "cli/cli_context.h"
#include "cli/command_registry.h"

#include <QFile>
#include <QProcess>
#include <cstdio>

namespace {

const QString kBatch = QStringLiteral("batch");

int stopped(int lineNumber, const QString& why, int status)
{
    std::fprintf(stderr, "corvex-cli: batch stopped at line %d: %s\n", lineNumber, why.toUtf8().constData());
    return status;
}

int runBatch(CliContext& context, const QStringList& arguments)
{
    if (arguments.size() > 1)
        return context.usageError(QStringLiteral("batch takes at most one file"));
    QFile input;
    bool opened = false;
    if (arguments.isEmpty()) {
        // Unbuffered, so that a question on the terminal reads the answer and not the next command.
        opened = input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
    } else {
        input.setFileName(arguments.first());
        opened = input.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        std::fprintf(
            stderr, "corvex-cli: cannot read %s: %s\n",
            (arguments.isEmpty() ? QStringLiteral("standard input") : arguments.first()).toUtf8().constData(),
            input.errorString().toUtf8().constData());
        return ExitFailed;
    }
    int lineNumber = 0;
    while (true) {
        const QByteArray raw = input.readLine();
        if (raw.isEmpty())
            break;
        ++lineNumber;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList words = QProcess::splitCommand(line);
        const QString name = words.isEmpty() ? QString() : words.takeFirst();
        const auto command = commandRegistry().find(name);
        if (command == commandRegistry().end() || name == kBatch)
            return stopped(lineNumber, QStringLiteral("unknown command '%1'").arg(name), ExitUsage);
        const int status = context.run(command->second.handler, words);
        if (status != ExitDone)
            return stopped(lineNumber, QStringLiteral("%1 ended with status %2").arg(name).arg(status),
                           status);
    }
    return ExitDone;
}

const CommandRegistration batchCommand(
    kBatch, QStringLiteral("batch [FILE]"),
    QStringLiteral("run the commands of FILE (or standard input), one a line, on one database connection; "
                   "stops at the first that fails"),
    runBatch);

} // namespace
