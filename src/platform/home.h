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

// The settings and the database hold members' addresses and phones: what the program creates for them is
// readable by its owner only. Creates folder and its missing parents so; true when it exists afterwards.
bool MakePrivateFolder(const QString& folder);
// Creates an empty file so (SQLite gives a database's journals the mode of the database); false when it
// exists already or cannot be created.
bool CreatePrivateFile(const QString& path);
