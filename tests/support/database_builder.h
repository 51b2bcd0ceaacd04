#pragma once

#include "admin/admin_data.h"
#include "admin/database.h"

#include <QTemporaryDir>
#include <ostream>

// A fresh database in a temporary folder, opened (and registered) for the test's lifetime.
class TestDatabase {
public:
    TestDatabase();

    QString folder() const { return m_dir.path(); }
    QString path() const;
    Database& database() { return m_database; }
    AdminData& data() { return m_data; }

    // Short-hands that fail the test when the database refuses.
    int addClub(const QString& name);
    int addFlyer(const QString& name, int clubId = 1);
    qint64 addBird(int flyerId, const QString& band, const QString& elecnumber = QStringLiteral("0000000000"),
                   const QString& colour = QStringLiteral("NONE"));

private:
    QTemporaryDir m_dir;
    Database m_database;
    AdminData m_data{m_database};
};

// A bird with the four parts of a 14-character band identity.
Bird makeBird(int flyerId, const QString& band, const QString& elecnumber = QStringLiteral("0000000000"));

// Fills an open database with clubs, flyers x birdsPerFlyer birds in one transaction. Flyer i (from 0) is
// named "Flyer <i>" in club i % 20 + 1; bands are "US24" + club letters + a band number unique in the
// database, rings are unique and never "0000000000".
DbResult fillDatabase(Database& database, int flyers, int birdsPerFlyer);

// Readable failures: texts and results print as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const DbResult& result, std::ostream* out)
{
    *out << result.code << " " << result.description.toStdString();
}
