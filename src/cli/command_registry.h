#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class CliContext;

// Each command file registers itself with a static CommandRegistration, so commands are added without
// touching a central table.
using CommandHandler = std::function<int(CliContext& context, const QStringList& arguments)>;

struct CommandInfo {
    QString usage;   // "status", "club add NAME", ...
    QString summary; // one line for --help
    CommandHandler handler;
};

std::map<QString, CommandInfo>& commandRegistry();

struct CommandRegistration {
    CommandRegistration(const QString& name, const QString& usage, const QString& summary,
                        CommandHandler handler)
    {
        commandRegistry()[name] = {usage, summary, std::move(handler)};
    }
};

// Exit statuses of every command.
enum ExitStatus { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };
