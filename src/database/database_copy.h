#pragma once

// Copies the administration data between two databases (file or server): every row of the four tables
// with its IDs, its stored order and its texts exactly as they are.

#include "database/database.h"

struct CopyCounts {
    int clubs = 0;
    int flyers = 0;
    int birds = 0;
    int points = 0;
};

// target is created when missing (a file) or given the schema when empty (a server database). A target
// that already holds rows is refused unless replace, which empties it first. All or nothing: a failure
// leaves the target as it was.
DbResult copyDatabase(const QString& source, const QString& target, bool replace,
                      CopyCounts* counts = nullptr);
