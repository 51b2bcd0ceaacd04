#pragma once

// Compacting, repairing and checking the database file from the main menu and the CLI.

#include "admin/database.h"

#include <QStringList>

class Dialogs;
class Progress;

// Copies the database into newcorvexdata.db beside it and puts that in its place by an atomic rename.
// Refused with the "Database already open!" message (3356) while a connection of this process, or any
// other process, holds the file; any failure leaves the file as it was and shows the error.
DbResult CompactDatabase(const QString& path, Dialogs& dialogs, Progress& progress);

// Checks the file's integrity and rebuilds its indexes, then compacts it (so it too ends with the 3356
// message while the file is in use). A file still damaged after the index rebuild is not compacted.
DbResult RepairDatabase(const QString& path, Dialogs& dialogs, Progress& progress);

// What is wrong with the file: empty when it opens as ours, passes the integrity check and has exactly the
// expected tables and fields. The status is the open's result (3024, 3031 ...) or 0.
struct DatabaseCheck {
    DbResult status;
    QStringList problems;
    bool ok() const { return status.ok() && problems.isEmpty(); }
};
DatabaseCheck CheckDatabase(const QString& path);
