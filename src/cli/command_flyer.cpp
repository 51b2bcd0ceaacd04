// corvex-cli flyer: list, add, edit and erase flyers, with the flyers window's rules.
#include "admin/flyer_operations.h"
#include "cli/admin_command_support.h"

namespace {

const QString kFlyerFieldOptions = QStringLiteral(
    "[--address A] [--city C] [--email E] [--phone P] [--longitude DIGITS] [--latitude DIGITS]");

// The field options given on the command line; those left out keep the stored values.
struct FieldOptions {
    std::optional<QString> address, city, email, phone, longitude, latitude;

    void applyTo(flyer::FlyerFields& fields) const
    {
        fields.address = address.value_or(fields.address);
        fields.city = city.value_or(fields.city);
        fields.email = email.value_or(fields.email);
        fields.phone = phone.value_or(fields.phone);
        fields.longitude = longitude.value_or(fields.longitude);
        fields.latitude = latitude.value_or(fields.latitude);
    }
};

// False (after the message) when a value breaks a field rule.
bool takeFields(CliContext& context, QStringList& arguments, FieldOptions& options)
{
    options.address = takeOption(arguments, QStringLiteral("address"));
    options.city = takeOption(arguments, QStringLiteral("city"));
    options.email = takeOption(arguments, QStringLiteral("email"));
    options.phone = takeOption(arguments, QStringLiteral("phone"));
    options.longitude = takeOption(arguments, QStringLiteral("longitude"));
    options.latitude = takeOption(arguments, QStringLiteral("latitude"));
    for (const auto& coordinate : {options.longitude, options.latitude}) {
        if (coordinate && flyer::coordinateDigits(*coordinate) != *coordinate) {
            admin_cli::refuse(context, QStringLiteral("Longitude and latitude take the digits 0 to 9 only."));
            return false;
        }
    }
    return true;
}

// The --club option as a stored club's number; the exit status when it is not one.
int takeClub(CliContext& context, QStringList& arguments, const AdminData& data, std::optional<int>& club)
{
    const auto option = takeOption(arguments, QStringLiteral("club"));
    if (!option)
        return ExitDone;
    club = admin_cli::number(*option);
    if (!club)
        return context.usageError(QStringLiteral("--club takes a club number"));
    const auto name = data.clubName(*club);
    if (!name.ok())
        return admin_cli::failed(context, name.status);
    if (!name.value)
        return admin_cli::refuse(context, QStringLiteral("There is no club number %1.").arg(*club));
    return ExitDone;
}

int runList(CliContext& context, QStringList& arguments, const AdminData& data)
{
    if (!admin_cli::operandsOk(context, arguments, 0, 1, QStringLiteral("flyer list [SEARCH]")))
        return ExitUsage;
    const auto flyers = data.searchFlyers(arguments.value(0));
    if (!flyers.ok())
        return admin_cli::failed(context, flyers.status);
    for (const Flyer& row : flyers.value)
        context.out << row.Name << '\n';
    return ExitDone;
}

int runAdd(CliContext& context, QStringList& arguments, const AdminData& data)
{
    const QString usage = QStringLiteral("flyer add NAME --club ID ") + kFlyerFieldOptions;
    std::optional<int> club;
    if (const int status = takeClub(context, arguments, data, club); status != ExitDone)
        return status;
    FieldOptions options;
    if (!takeFields(context, arguments, options))
        return ExitFailed;
    if (!admin_cli::operandsOk(context, arguments, 1, 1, usage))
        return ExitUsage;
    if (!club)
        return context.usageError(QStringLiteral("flyer add needs --club ID"));
    flyer::FlyerFields fields;
    options.applyTo(fields);
    fields.clubId = *club;
    fields.name = arguments[0];
    const AdminOutcome outcome = flyer::add(data, fields);
    if (outcome.done())
        context.out << data.flyerNameById(static_cast<int>(outcome.newKey)).value.value_or(QString()) << '\n';
    return admin_cli::finish(context, outcome);
}

int runEdit(CliContext& context, QStringList& arguments, const AdminData& data)
{
    const QString usage = QStringLiteral("flyer edit NAME [--name NEW] [--club ID] ") + kFlyerFieldOptions;
    std::optional<int> club;
    if (const int status = takeClub(context, arguments, data, club); status != ExitDone)
        return status;
    const auto newName = takeOption(arguments, QStringLiteral("name"));
    FieldOptions options;
    if (!takeFields(context, arguments, options))
        return ExitFailed;
    if (!admin_cli::operandsOk(context, arguments, 1, 1, usage))
        return ExitUsage;
    Flyer stored;
    if (const int status = admin_cli::findFlyer(context, data, arguments[0], stored); status != ExitDone)
        return status;
    flyer::FlyerFields fields = flyer::fieldsFromRow(stored);
    options.applyTo(fields);
    fields.clubId = club.value_or(fields.clubId);
    fields.name = newName.value_or(fields.name);
    const AdminOutcome outcome = flyer::edit(data, stored.FlyerID, fields);
    if (outcome.done())
        context.out << data.flyerNameById(stored.FlyerID).value.value_or(QString()) << '\n';
    return admin_cli::finish(context, outcome);
}

int runErase(CliContext& context, QStringList& arguments, const AdminData& data)
{
    admin_cli::answerYes(context, takeFlag(arguments, QStringLiteral("yes")));
    if (!admin_cli::operandsOk(context, arguments, 1, 1, QStringLiteral("flyer erase NAME [--yes]")))
        return ExitUsage;
    Flyer stored;
    if (const int status = admin_cli::findFlyer(context, data, arguments[0], stored); status != ExitDone)
        return status;
    if (!admin_cli::confirmed(context, flyer::kEraseQuestion, flyer::kDeleteTitle))
        return ExitFailed;
    const AdminOutcome outcome = flyer::erase(data, stored.FlyerID);
    if (outcome.done())
        context.out << "erased " << stored.Name << " with " << outcome.newKey - 1 << " birds\n";
    return admin_cli::finish(context, outcome);
}

int runFlyer(CliContext& context, QStringList arguments)
{
    return admin_cli::runAction(
        context, std::move(arguments),
        QStringLiteral("flyer list [SEARCH] | add NAME --club ID ... | edit NAME ... | erase NAME"),
        {{QLatin1String("list"), runList},
         {QLatin1String("add"), runAdd},
         {QLatin1String("edit"), runEdit},
         {QLatin1String("erase"), runErase}});
}

const CommandRegistration flyerCommand(
    QStringLiteral("flyer"),
    QStringLiteral(
        "flyer list [SEARCH] | add NAME --club ID [...] | edit NAME [--name NEW ...] | erase NAME [--yes]"),
    QStringLiteral("list, add, edit or erase flyers (erasing deletes their birds)"),
    [](CliContext& c, const QStringList& a) { return runFlyer(c, a); });

} // namespace
