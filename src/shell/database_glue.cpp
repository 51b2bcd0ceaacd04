#include "shell/database_glue.h"

#include "database/database_messages.h"
#include "database/maintenance.h"
#include "shell/app_context.h"

#include <QFileInfo>

QString prepareDatabasePath(AppContext& context)
{
    const QString path = InitDatabasePath(context.home);
    if (context.settings.contains(kDatabaseRecordKey))
        return path;
    Database database;
    const DbResult created = database.open(path, !QFileInfo::exists(path));
    database.close();
    if (!created.ok()) {
        // Not recorded: the next run tries again.
        ShowDatabaseError(context.dialogs, created, path);
        return path;
    }
    context.settings.write(kDatabaseRecordKey, QFileInfo(path).fileName());
    return path;
}

namespace {
template <typename Operation> void withMainConnectionClosed(AppContext& context, Operation operation)
{
    const bool wasOpen = context.database.isOpen();
    context.database.close();
    operation();
    if (wasOpen)
        context.database.open(context.databasePath);
}
} // namespace

void runCompactDatabase(AppContext& context)
{
    withMainConnectionClosed(
        context, [&] { compactDatabase(context.databasePath, context.dialogs, context.progress); });
}

void runRepairDatabase(AppContext& context)
{
    withMainConnectionClosed(
        context, [&] { repairDatabase(context.databasePath, context.dialogs, context.progress); });
}
