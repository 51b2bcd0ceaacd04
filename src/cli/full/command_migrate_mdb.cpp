// corvex-cli migrate-mdb: brings over the Access database of the Windows program.
#include "cli/cli_context.h"
#include "cli/command_registry.h"
#include "database/database.h"
#include "database/mdb_migration.h"

namespace {

int runMigrate(CliContext& context, QStringList arguments)
{
    const bool replace = takeFlag(arguments, QStringLiteral("replace"));
    if (arguments.size() != 1)
        return context.usageError(QStringLiteral("migrate-mdb takes one Access file"));
    const MdbMigrationReport report =
        migrateMdb(arguments.first(), InitDatabasePath(context.home), replace, &context.progress);
    for (const QString& line : report.summary())
        context.out << line << '\n';
    if (report.refused)
        context.out << "Run again with --replace to replace it.\n";
    return report.ok() && report.check.ok() ? ExitDone : ExitFailed;
}

const CommandRegistration migrateCommand(
    QStringLiteral("migrate-mdb"), QStringLiteral("migrate-mdb FILE.mdb [--replace]"),
    QStringLiteral("import the clubs, flyers, birds and liberation points of an Access corvexdata.mdb"),
    [](CliContext& c, const QStringList& a) { return runMigrate(c, a); });

} // namespace
