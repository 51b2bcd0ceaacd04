#pragma once

#include "database/database.h"

#include <QString>

class Dialogs;

inline const QString kDatabaseUnavailableTitle = QStringLiteral(" CORVEX Database Unavailable");
inline const QString kDatabaseInUseText =
    QStringLiteral("Database already open!\r\nPlease close all data entry forms and try again.");
inline const QString kDatabaseDamagedText = QStringLiteral("The database file is damaged.");

// The message for a database that cannot be opened (3024, 3031, 3049, 3051, 3356, any other number),
// naming the data folder that should hold corvexdata.db.
QString databaseErrorText(int code, const QString& dataFolder);
// The message for the database at databasePath that could not be opened: for a file the text above; a
// server is named with the reason it gave, since advice about a file would mislead there.
QString databaseErrorText(const DbResult& result, const QString& databasePath);
// Shows it: critical icon, title kDatabaseUnavailableTitle.
void ShowDatabaseError(Dialogs& dialogs, const DbResult& result, const QString& databasePath);

// The general error report of a window: "<description> #:<number>.<count>" and on a second line
// "Please notify Halvard Electronics USA of this ERROR". Each window keeps one; the count starts at 1.
class ErrorReport {
public:
    QString next(const QString& description, int number);
    QString next(const DbResult& result) { return next(result.description, result.code); }
    // Shows the next report in an OK box without title; a database held too long by another connection
    // gets the "Database already open!" message instead.
    void show(Dialogs& dialogs, const DbResult& result);
    int count() const { return m_count; }

private:
    int m_count = 0;
};
