#pragma once

#include "clocklink/clock_link.h"
#include "platform/device_serial_port.h"
#include "platform/home.h"
#include "platform/terminal_dialogs.h"
#include "platform/terminal_progress.h"
#include "shell/settings/settings_store.h"

#include <QTextStream>
#include <memory>

// What every command of corvex-cli works with: the home, its settings, the serial port chosen by the
// settings or --port, terminal dialogs and progress, and the clock link.
class CliContext {
public:
    // databaseOverride: a PostgreSQL URI used instead of the setting DatabaseServer for this run.
    CliContext(const QString& homeFolder, const QString& portOverride, const QString& databaseOverride = {});

    Home home;
    SettingsStore settings;
    DeviceSerialPort port;
    TerminalDialogs dialogs;
    TerminalProgress progress;
    ClockLink clock;

    // Standard output as text (UTF-8).
    QTextStream out;

    // Prints a usage error to standard error and returns ExitUsage.
    int usageError(const QString& text);
};

// Takes "--name value" or "--name=value" out of arguments; empty optional when absent.
std::optional<QString> takeOption(QStringList& arguments, const QString& name);
// Takes a flag "--name" out of arguments.
bool takeFlag(QStringList& arguments, const QString& name);
