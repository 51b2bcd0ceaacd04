#pragma once

#include "cli/command_registry.h"
#include "database/database.h"
#include "platform/home.h"
#include "platform/terminal_dialogs.h"
#include "platform/terminal_progress.h"
#include "settings/settings_store.h"

#include <QTextStream>
#include <memory>

struct ClockLink;

// What every command of corvex-cli works with: the home, its settings, terminal dialogs and progress, and
// for the clock commands the clock link on the serial port chosen by the settings or --port.
class CliContext {
public:
    // databaseOverride: a PostgreSQL URI used instead of the setting DatabaseServer for this run.
    CliContext(const QString& homeFolder, const QString& portOverride, const QString& databaseOverride = {});

    Home home;
    SettingsStore settings;
    TerminalDialogs dialogs;
    TerminalProgress progress;

    // The link to the clock, made on first use. It lives in its own file so that the programs without the
    // clock commands do not load the serial port libraries.
    ClockLink& clock();

    // The home's database, opened on first use and kept for the run, so that a batch runs all its commands
    // on one connection; nullptr when it cannot be opened (the reason has been shown).
    Database* database();
    // Opens database on the home's database without showing a failure. On a home that never had one the
    // file is made with its empty schema, as the desktop program's first run does; later a missing file is
    // 3024, never silently replaced.
    DbResult openDatabase(Database& database);
    // Closes it, for the commands that work on the file itself (compact, repair, copy).
    void closeDatabase() { m_database.close(); }

    // Standard output as text (UTF-8).
    QTextStream out;

    // Prints a usage error to standard error and returns ExitUsage.
    int usageError(const QString& text);
    // Says on standard error, in one line, why a command failed where no message has told; ExitFailed.
    int failed(const QString& text);

    // Runs one command and gives its exit status; its output is flushed, and an answer its options set is
    // forgotten (it belongs to that command alone).
    int run(const CommandHandler& handler, const QStringList& arguments);

private:
    QString m_portOverride;
    std::shared_ptr<ClockLink> m_clock;
    Database m_database;
};

// The start of the line a clock command prints when the version query failed.
inline const QString kNoClockAnswered = QStringLiteral("no clock answered");

// Takes "--name value" or "--name=value" out of arguments; empty optional when absent.
std::optional<QString> takeOption(QStringList& arguments, const QString& name);
// Takes a flag "--name" out of arguments.
bool takeFlag(QStringList& arguments, const QString& name);
