#pragma once

#include "settings/configuration.h"

#include <QString>

class AppContext;

// The settings key that records the database created on the first run.
inline const QString kDatabaseRecordKey = config_keys::DatabaseFile;

// Works out where the database lives in the home. On the first run (the settings have no record of a
// database) it creates the file with its empty schema so that a new installation is usable; later runs
// never recreate a missing file, which the open then reports as 3024.
QString prepareDatabasePath(AppContext& context);

// The two maintenance entries of the Options menu. The main window's own connection is closed for the
// duration, since a file held open cannot be compacted.
void runCompactDatabase(AppContext& context);
void runRepairDatabase(AppContext& context);
