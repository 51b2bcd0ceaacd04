#pragma once

// Compacting, repairing and checking the database file from the main menu and the CLI.

#include "database/database.h"

#include <QStringList>
#include <functional>

class Dialogs;
class Progress;

// Copies the database into newcorvexdata.db beside it and puts that in its place by an atomic rename.
// From the first page copied to the rename the file is held for the compaction alone: other connections
// wait within the busy timeout or are refused with 3356. Refused with the "Database already open!"
// message (3356) while a connection of this process, or any other process, holds the file; any failure
// leaves the file as it was and shows the error. beforeRename runs with the copy ready and the file still
// held (tests poise a writer there).
DbResult compactDatabase(const QString& path, Dialogs& dialogs, Progress& progress,
                         const std::function<void()>& beforeRename = {});

// A sound file: rebuilds its indexes. A damaged one: copies every row it can still read into a new file,
// keeps the damaged original beside it under a dated name, reports per table the rows saved and those it
// could not read, and only then puts the new file in place. Birds whose flyer is gone get a stand-in
// flyer, so that none is lost from the lists. Either way it ends with a compaction (so it too ends with
// the 3356 message while the file is in use).
DbResult repairDatabase(const QString& path, Dialogs& dialogs, Progress& progress);

// What is wrong with the file: empty when it opens as ours, passes the integrity check, has exactly the
// expected tables and fields, and every bird has its flyer. The status is the open's result (3024, 3031
// ...), 3049 when the integrity check finds damage, or 0.
struct DatabaseCheck {
    DbResult status;
    QStringList problems;
    bool ok() const { return status.ok() && problems.isEmpty(); }
};
DatabaseCheck checkDatabase(const QString& path);

// Removes what a compaction or repair killed part-way left beside the database.
void RemoveStrayCompactFiles(const QString& path);
