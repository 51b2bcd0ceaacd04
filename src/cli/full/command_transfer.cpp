// corvex-cli send-inventory, receive-inventory and send-liberations: the clock administration transfers.
#include "admin/admin_data.h"
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "clocklink/clock_link.h"
#include "database/database.h"
#include "settings/configuration.h"
#include "transfer/inventory_receive.h"
#include "transfer/inventory_send.h"
#include "transfer/liberation_send.h"

namespace {

// "ok"/"yes" -> first, "cancel"/"no" -> second; anything else is a usage error.
std::optional<std::optional<Dialogs::Answer>> parseAnswer(const std::optional<QString>& option,
                                                          const QString& yes, Dialogs::Answer yesAnswer,
                                                          const QString& no, Dialogs::Answer noAnswer)
{
    if (!option)
        return std::optional<Dialogs::Answer>();
    if (option->compare(yes, Qt::CaseInsensitive) == 0)
        return std::optional<Dialogs::Answer>(yesAnswer);
    if (option->compare(no, Qt::CaseInsensitive) == 0)
        return std::optional<Dialogs::Answer>(noAnswer);
    return std::nullopt;
}

int runSendInventory(CliContext& context, QStringList arguments)
{
    const std::optional<QString> flyerName = takeOption(arguments, QStringLiteral("flyer"));
    const std::optional<QString> only = takeOption(arguments, QStringLiteral("only"));
    const auto differentName =
        parseAnswer(takeOption(arguments, QStringLiteral("different-name")), QStringLiteral("ok"),
                    Dialogs::Answer::Ok, QStringLiteral("cancel"), Dialogs::Answer::Cancel);
    if (!flyerName || flyerName->trimmed().isEmpty() || !arguments.isEmpty())
        return context.usageError(QStringLiteral(
            "usage: send-inventory --flyer NAME [--only BAND,...] [--different-name ok|cancel]"));
    if (!differentName)
        return context.usageError(QStringLiteral("--different-name takes ok or cancel"));
    Database* database = context.database();
    if (!database)
        return ExitFailed;

    const ConfigValues config = readConfig(context.settings);
    SendInventoryRequest request;
    request.flyerName = *flyerName;
    request.settings = {config.combineName, config.nationalOrg, config.combine, config.concourse};
    if (only) {
        request.onlySelected = true;
        for (const QString& band : only->split(QLatin1Char(','), Qt::SkipEmptyParts))
            request.selectedBands << band;
    }
    context.dialogs.answerer = [&](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.title == kDifferentNamesTitle)
            return *differentName;
        return std::nullopt;
    };
    const AdminData data(*database);
    const SendInventoryResult result =
        sendInventory(context.clock(), context.dialogs, context.progress, data, request);
    switch (result.outcome) {
    case SendInventoryOutcome::Sent:
        context.out << "sent: " << result.birdsSent << '\n';
        return ExitDone;
    case SendInventoryOutcome::NameDeclined:
        return context.failed(QStringLiteral("the RBM holds another flyer's inventory; nothing was sent"));
    case SendInventoryOutcome::NoBirds:
        return context.failed(QStringLiteral("%1 has no birds; nothing was sent").arg(flyerName->trimmed()));
    default: // the operation has said why
        return ExitFailed;
    }
}

int runReceiveInventory(CliContext& context, QStringList arguments)
{
    const auto addFlyer =
        parseAnswer(takeOption(arguments, QStringLiteral("add-flyer")), QStringLiteral("yes"),
                    Dialogs::Answer::Yes, QStringLiteral("no"), Dialogs::Answer::No);
    const std::optional<QString> clubOption = takeOption(arguments, QStringLiteral("club"));
    if (!arguments.isEmpty())
        return context.usageError(
            QStringLiteral("usage: receive-inventory [--add-flyer yes|no] [--club ID]"));
    if (!addFlyer)
        return context.usageError(QStringLiteral("--add-flyer takes yes or no"));
    bool clubOk = true;
    const int clubId = clubOption ? clubOption->toInt(&clubOk) : 0;
    if (!clubOk || (clubOption && clubId <= 0))
        return context.usageError(QStringLiteral("--club takes a club number"));
    Database* database = context.database();
    if (!database)
        return ExitFailed;

    context.dialogs.answerer = [&](const Dialogs::Box& box) -> std::optional<Dialogs::Answer> {
        if (box.text == kAddFlyerQuestion)
            return *addFlyer;
        return std::nullopt;
    };
    ReceiveResult result = receiveInventory(context.clock(), context.dialogs, context.progress, *database);
    if (result.outcome == ReceiveOutcome::NeedsFlyerWindow) {
        if (!clubOption) {
            context.dialogs.inform(chooseClubMessage(result.flyerName));
            context.out << "choose a club with --club ID\n";
            return ExitFailed;
        }
        const auto club = AdminData(*database).clubName(clubId);
        if (!club.ok() || !club.value)
            return context.failed(QStringLiteral("there is no club %1; nothing was stored").arg(clubId));
        result = addReceivedFlyer(*database, context.dialogs, result.inventory, clubId);
    }
    switch (result.outcome) {
    case ReceiveOutcome::Stored:
    case ReceiveOutcome::FlyerCreated:
        break;
    case ReceiveOutcome::NoClock:
        return context.failed(kNoClockAnswered + QStringLiteral("; nothing was received"));
    case ReceiveOutcome::ExchangeFailed:
        return context.failed(QStringLiteral("the inventory was not received; nothing was stored"));
    case ReceiveOutcome::FlyerDeclined:
        return context.failed(QStringLiteral("the flyer was not added; nothing was stored"));
    default: // the operation has said why
        return ExitFailed;
    }
    context.out << "flyer: " << result.flyerName << '\n'
                << "added: " << result.counters.added << '\n'
                << "updated: " << result.counters.updated << '\n'
                << "changed: " << result.counters.changed << '\n';
    return ExitDone;
}

int runSendLiberations(CliContext& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return context.usageError(QStringLiteral("send-liberations takes no arguments"));
    Database* database = context.database();
    if (!database)
        return ExitFailed;
    const LiberationSendResult result =
        sendLiberations(context.clock(), context.dialogs, context.progress, AdminData(*database));
    if (result.outcome == LiberationSendOutcome::NoClock)
        return context.failed(kNoClockAnswered + QStringLiteral("; nothing was sent"));
    if (result.outcome != LiberationSendOutcome::Sent)
        return ExitFailed; // the operation has said why
    context.out << "sent: " << result.sent << '\n';
    return ExitDone;
}

const CommandRegistration sendInventoryCommand(
    QStringLiteral("send-inventory"),
    QStringLiteral("send-inventory --flyer NAME [--only BAND,...] [--different-name ok|cancel]"),
    QStringLiteral("write a flyer's bird inventory into the RBM"),
    [](CliContext& c, const QStringList& a) { return runSendInventory(c, a); });
const CommandRegistration
    receiveInventoryCommand(QStringLiteral("receive-inventory"),
                            QStringLiteral("receive-inventory [--add-flyer yes|no] [--club ID]"),
                            QStringLiteral("read the RBM's inventory into the database"),
                            [](CliContext& c, const QStringList& a) { return runReceiveInventory(c, a); });
const CommandRegistration sendLiberationsCommand(QStringLiteral("send-liberations"),
                                                 QStringLiteral("send-liberations"),
                                                 QStringLiteral("write the liberation points into the clock"),
                                                 runSendLiberations);

} // namespace
