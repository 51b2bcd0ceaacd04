#pragma once

// The outcome of a database action, in the numbers the program has always used for database failures.

#include <QString>

class QSqlError;

// Jet error numbers stay the program's vocabulary for database failures.
namespace DbError {
constexpr int None = 0;
constexpr int General = 3000;         // any other failure; the description tells
constexpr int NoCurrentRecord = 3021; // a row that should exist does not
constexpr int Duplicate = 3022;       // the value is already stored where it must be unique
constexpr int FileNotFound = 3024;
constexpr int NotOurDatabase = 3031; // a foreign schema, or a newer schema version
constexpr int Damaged = 3049;        // the file's pages are corrupt, or it is no database at all
constexpr int ReadOnly = 3051;       // no write access to the file or its folder
constexpr int InUse = 3356;          // held by another connection longer than the busy timeout
} // namespace DbError

struct DbResult {
    int code = DbError::None;
    QString description;

    bool ok() const { return code == DbError::None; }
    static DbResult failure(int code, const QString& description) { return {code, description}; }
    // Maps a Qt SQL error of either engine onto the numbers above.
    static DbResult fromSqlError(const QSqlError& error);
};
