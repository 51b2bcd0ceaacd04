// corvex-cli import-dos: imports the new flyers of a DOS administration file with their bird files, as the
// import window does.
#include "cli/admin_command_support.h"
#include "dosimport/dos_import.h"
#include "settings/configuration.h"

#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral("import-dos FILE --club NAME [--only NAME,...] [--update-config]");

int runImportDos(CliContext& context, QStringList arguments)
{
    const std::optional<QString> clubName = takeOption(arguments, QStringLiteral("club"));
    const std::optional<QString> only = takeOption(arguments, QStringLiteral("only"));
    const bool updateConfig = takeFlag(arguments, QStringLiteral("update-config"));
    if (!admin_cli::operandsOk(context, arguments, 1, 1, kUsage))
        return ExitUsage;
    if (!clubName || clubName->trimmed().isEmpty())
        return context.usageError(QStringLiteral("--club is required; usage: %1").arg(kUsage));

    Database* database = context.database();
    if (!database)
        return ExitFailed;
    const AdminData data(*database);
    const Fetched<int> clubCount = data.countClubs();
    if (!clubCount.ok())
        return admin_cli::failed(context, clubCount.status);
    if (clubCount.value == 0)
        return admin_cli::refuse(context, QStringLiteral("You must first enter a club"));
    const Fetched<std::optional<Club>> club = data.clubByName(clubName->trimmed());
    if (!club.ok())
        return admin_cli::failed(context, club.status);
    if (!club.value)
        return admin_cli::refuse(context, QStringLiteral("No club named %1").arg(clubName->trimmed()));

    DosImport dosImport(*database, context.dialogs, context.progress);
    if (!dosImport.chooseFile(QFileInfo(arguments[0]).absoluteFilePath()))
        return ExitFailed;
    context.out << dosImport.windowTitle() << '\n';
    for (const DosImport::Entry& entry : dosImport.entries())
        context.out << entry.text << '\n';
    context.out.flush();

    std::optional<std::vector<int>> selected;
    if (only) {
        selected.emplace();
        for (const QString& wanted : only->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool found = false;
            for (size_t i = 0; i < dosImport.entries().size(); ++i) {
                const FlyerRecord& record =
                    dosImport.records()[static_cast<size_t>(dosImport.entries()[i].record)];
                if (record.name.trimmed().compare(cleanedName(wanted), Qt::CaseInsensitive) == 0) {
                    selected->push_back(static_cast<int>(i));
                    found = true;
                }
            }
            if (!found)
                return admin_cli::refuse(
                    context, QStringLiteral("No flyer named %1 in the file").arg(wanted.trimmed()));
        }
    }

    context.out << dosImport.import(club.value->ClubID, selected) << '\n';
    if (updateConfig) {
        ConfigValues values = readConfig(context.settings);
        saveConfigurationOfFile(dosImport.fileName(), values, context.settings, context.dialogs);
    }
    return dosImport.failedCount() > 0 ? ExitFailed : ExitDone;
}

const CommandRegistration
    importDosCommand(QStringLiteral("import-dos"), kUsage,
                     QStringLiteral("import the new flyers of a DOS administration file "
                                    "with their birds"),
                     [](CliContext& c, const QStringList& a) { return runImportDos(c, a); });
} // namespace
