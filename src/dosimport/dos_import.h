#pragma once

// The import of a DOS administration file: its flyer records, which of them are stored already, and the
// import of the new flyers with their bird files into the database. Driven by frmImportFiles and by
// corvex-cli import-dos.

#include "admin/admin_data.h"
#include "database/dos_import_queries.h"
#include "dosimport/dos_files.h"

#include <optional>
#include <vector>

class Dialogs;
class Progress;
class SettingsStore;
struct ConfigValues;

inline const QString kImportDoneStatus = QStringLiteral("Flyer(s) imported.");
inline const QString kAlreadyImportedStatus = QStringLiteral("Flyers already imported.");
inline const QString kStoredMark = QStringLiteral("[X]");
inline const QString kNewMark = QStringLiteral("[   ]");

class DosImport {
public:
    // One entry of the flyer list, tied to its own record of the file.
    struct Entry {
        int record = 0; // index into records()
        QString text;   // the 20-character name + "[X]" or "[   ]"
        bool stored = false;
    };

    DosImport(Database& database, Dialogs& dialogs, Progress& progress);

    // Reads the administration file at path and lists its flyers. A read error shows its message and
    // returns false; the list then keeps what was read before the error.
    bool chooseFile(const QString& path);
    void clear();

    const QString& path() const { return m_path; }
    QString fileName() const;
    // "Import Files from: Concourse 1234 Combine 05" for S123405.DAT.
    QString windowTitle() const;

    const std::vector<FlyerRecord>& records() const { return m_records; }
    const std::vector<Entry>& entries() const { return m_entries; }
    int newFlyers() const { return m_newFlyers; }

    // Imports the new flyers: every record, or with selectedEntries only the records of those entries
    // (positions in entries()). Returns the status line, which names how many flyers a database failure
    // kept from being stored completely. clubId is the stored ClubID of the chosen club.
    QString import(int clubId, const std::optional<std::vector<int>>& selectedEntries);
    // Flyers stored by the last import, and those a database failure hit (each one named in a message).
    int importedCount() const { return m_imported; }
    int failedCount() const { return m_failed; }

private:
    void listEntries();
    // False when a database failure hit the flyer (what was stored of it before stays).
    bool importFlyer(const FlyerRecord& record, int clubId, ImportQueries& queries);
    void noInventoryFile(const FlyerRecord& record);
    void flyerFailed(const FlyerRecord& record, const QString& why);
    void beginBatch();
    void endBatch();
    void inform(const QString& text);

    static constexpr int kFlyersPerBatch = 50;

    Database& m_database;
    AdminData m_data;
    Dialogs& m_dialogs;
    Progress& m_progress;

    QString m_path;
    std::vector<FlyerRecord> m_records;
    std::vector<Entry> m_entries;
    int m_newFlyers = 0;
    int m_imported = 0;
    int m_failed = 0;
    bool m_batchOpen = false;
    DbResult m_batchStatus;
    QStringList m_batchFlyers; // stored in the open batch: not stored after all when its commit fails
    QString m_current;         // the flyer being stored
    bool m_currentLost = false;
};

// Concourse and combine of the administration file's name into the configuration, stored by the
// configuration's saving rules. Returns the main window's title.
QString saveConfigurationOfFile(const QString& fileName, ConfigValues& values, SettingsStore& store,
                                Dialogs& dialogs);
