#pragma once

#include <QString>

// Where an installation keeps its settings, database and race files. By default the per-user locations;
// --home DIR or CORVEX_HOME puts everything under one folder.
struct Home {
    QString settingsFile; // Corvex.conf
    QString dataFolder;   // holds corvexdata.db
    QString raceFolder;   // CVX
    // A PostgreSQL URI that replaces the database file when set (setting DatabaseServer, --database).
    QString databaseServer;

    // explicitHome: the --home option, else empty (then CORVEX_HOME, then the per-user locations).
    static Home resolve(const QString& explicitHome = {});
    static Home under(const QString& folder);
};
