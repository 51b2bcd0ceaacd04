// corvex-cli status and send: the clock's identity, and one raw exchange for diagnosis.
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "clocklink/clock_link.h"
#include "common/text_codec.h"

namespace {

int runStatus(CliContext& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return context.usageError(QStringLiteral("status takes no arguments"));
    ClockLink& clock = context.clock();
    const QByteArray failure = clock.queryVersion();
    const ClockStatusPanels panels = clockStatusTexts(clock.identity);
    context.out << kPanelRbmVersion.trimmed() << ' ' << panels.rbmVersion << '\n'
                << kPanelRbmSerial.trimmed() << ' ' << panels.rbmSerial << '\n'
                << kPanelPcfVersion.trimmed() << ' ' << panels.pcfVersion << '\n'
                << kPanelPcfSerial.trimmed() << ' ' << panels.pcfSerial << '\n'
                << "Status: " << panels.status << '\n';
    clock.exchange.closePort();
    return failure.isEmpty() && clock.identity.connected() ? ExitDone : ExitFailed;
}

// Control and non-ASCII bytes as <XX>, so that an answer can be read on a terminal.
QString visibleBytes(const QByteArray& bytes)
{
    QString text;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F)
            text += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        else
            text += QLatin1Char(c);
    }
    return text;
}

int runSend(CliContext& context, QStringList arguments)
{
    const bool pcf = takeFlag(arguments, QStringLiteral("pcf"));
    if (arguments.size() != 1)
        return context.usageError(QStringLiteral("send takes one command text"));
    CommandExchange& exchange = context.clock().exchange;
    exchange.setAddressPrefix(pcf ? kPcfAddress : kRbmAddress);
    const QByteArray answer = exchange.SendCommand(toWindows1252(arguments.first()));
    context.out << visibleBytes(answer) << '\n';
    exchange.closePort();
    const bool refused = answer == control::text(control::NAK);
    return isFailureCode(answer) || answer.isEmpty() || refused ? ExitFailed : ExitDone;
}

const CommandRegistration
    statusCommand(QStringLiteral("status"), QStringLiteral("status"),
                  QStringLiteral("ask the clock for its versions, serial numbers and status"), runStatus);
const CommandRegistration
    sendCommand(QStringLiteral("send"), QStringLiteral("send TEXT [--pcf]"),
                QStringLiteral("send one command to the RBM (or the PCF) and print the answer"),
                [](CliContext& c, const QStringList& a) { return runSend(c, a); });
} // namespace
