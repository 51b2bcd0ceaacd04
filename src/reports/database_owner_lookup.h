#pragma once

#include "admin/admin_data.h"
#include "database/database.h"
#include "reports/owner_lookup.h"

#include <QHash>

// Owners from the administration database: the first bird with the club letters and number, then its flyer.
// Holds its own connection while the report is open.
class DatabaseOwnerLookup : public OwnerLookup {
public:
    DatabaseOwnerLookup() : m_data(m_db) {}
    // A missing file is not created; the reason is in the result.
    DbResult open(const QString& databasePath) { return m_db.open(databasePath); }
    bool isOpen() const { return m_db.isOpen(); }

    std::optional<QString> ownerOf(const QString& clubLettersAndBnumber) override;

private:
    Database m_db;
    AdminData m_data;
    QHash<int, std::optional<QString>> m_names; // by FlyerID: many birds share a flyer
};
