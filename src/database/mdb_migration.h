#pragma once

// Bringing over the administration database of the Windows program (an Access file, corvexdata.mdb):
// the tables clubs, flyerlist, birds and orte are copied with their keys, their stored row order and
// their texts exactly as held, all in one transaction on our database.

#include "database/database.h"
#include "database/fetched.h"
#include "database/maintenance.h"

#include <QString>
#include <QStringList>
#include <vector>

class Dialogs;
class Progress;

struct MdbTableReport {
    QString table;
    bool found = false;
    int declared = 0; // rows the file says the table holds
    int read = 0;
    int written = 0;
    QStringList skipped;        // one line per row left out, with the reason
    QStringList unknownColumns; // columns of the file that our table does not have; left out
    QStringList missingColumns; // our fields the file lacks; stored empty
};

struct MdbMigrationReport {
    DbResult status;
    // The target held data and replacing it was not allowed; nothing was changed.
    bool refused = false;
    std::vector<MdbTableReport> tables;
    // Only run when the data was written.
    DatabaseCheck check;

    bool ok() const { return status.ok() && !refused; }
    // Lines for the user: per table, skipped rows, unknown columns, the check's outcome or the failure.
    QStringList summary() const;
};

// Whether any of the four tables of the database at path holds a row. A missing file holds nothing.
Fetched<bool> databaseHoldsData(const QString& path);

// Copies the Access file at mdbPath into the database at targetPath (created when missing). A target
// that holds data is left untouched unless replace is set; then its four tables are emptied and filled in
// the same transaction. Any failure leaves the target as it was.
MdbMigrationReport migrateMdb(const QString& mdbPath, const QString& targetPath, bool replace,
                              Progress* progress = nullptr);

// The menu's flow: asks before replacing data, refuses while a data window holds the database, runs the
// migration under the progress window and shows its summary.
MdbMigrationReport importAccessDatabase(const QString& mdbPath, const QString& targetPath, Dialogs& dialogs,
                                        Progress& progress);
