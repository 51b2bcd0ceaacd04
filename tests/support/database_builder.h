#pragma once

#include "admin/admin_data.h"
#include "database/database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

// The database suites run on the file always and on a PostgreSQL server when CORVEX_TEST_PG_URI names
// one (a superuser URI; every test gets a database of its own there); without it the server runs skip.
enum class Engine { File, Server };
std::string engineName(const testing::TestParamInfo<Engine>& info);

class EngineTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
};

// Declares the parameterised suite name running on every engine: TEST_P(name, ...) { GetParam() ... }.
#define CORVEX_ON_EVERY_ENGINE(name)                                                                         \
    class name : public EngineTest {};                                                                       \
    INSTANTIATE_TEST_SUITE_P(Engines, name, testing::Values(Engine::File, Engine::Server), engineName)

// Raw statements for tests on the server named by CORVEX_TEST_PG_URI.
namespace TestServer {
QString adminUri(); // empty when no server is configured
// A new empty database on the server; returns its URI (with user and password of the admin URI).
QString createDatabase();
// The URI with another database name.
QString withDatabase(const QString& uri, const QString& name);
void dropDatabase(const QString& uri);
// Runs statements as the admin user in the database of uri; false (and a test failure) when one fails.
bool exec(const QString& uri, const QStringList& statements);
} // namespace TestServer

// A fresh database in a temporary folder (or on the server), opened (and registered) for the test's
// lifetime.
class TestDatabase {
public:
    explicit TestDatabase(Engine engine = Engine::File);
    ~TestDatabase();

    QString folder() const { return m_dir.path(); }
    // The file path, or the server URI.
    QString path() const;
    Database& database() { return m_database; }
    AdminData& data() { return m_data; }

    // Short-hands that fail the test when the database refuses.
    int addClub(const QString& name);
    int addFlyer(const QString& name, int clubId = 1);
    qint64 addBird(int flyerId, const QString& band, const QString& elecnumber = QStringLiteral("0000000000"),
                   const QString& colour = QStringLiteral("NONE"));
    // A bird whose flyer does not exist, as files made before the database refused them may hold.
    qint64 addOrphanBird(int flyerId, const QString& band);

private:
    Engine m_engine;
    QTemporaryDir m_dir;
    QString m_serverUri;
    Database m_database;
    AdminData m_data{m_database};
};

// A bird with the four parts of a 14-character band identity.
Bird makeBird(int flyerId, const QString& band, const QString& elecnumber = QStringLiteral("0000000000"));

// Fills an open database with clubs, flyers x birdsPerFlyer birds in one transaction. Flyer i (from 0) is
// named "Flyer <i>" in club i % 20 + 1; bands are "US24" + club letters + a band number unique in the
// database, rings are unique and never "0000000000".
DbResult fillDatabase(Database& database, int flyers, int birdsPerFlyer);

// Every row of the four tables as "table|field|...", in key order (birds and liberation points by row id,
// shown first), every field as stored and a null as <null>.
QStringList tableRows(const QString& location);

// Readable failures: texts and results print as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const DbResult& result, std::ostream* out)
{
    *out << result.code << " " << result.description.toStdString();
}
