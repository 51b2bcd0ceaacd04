#include "admin/admin_data.h"
#include "database/postgres_engine.h"
#include "support/database_builder.h"

#include <QSqlQuery>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ServerTest : public EngineTest {};
INSTANTIATE_TEST_SUITE_P(Server, ServerTest, testing::Values(Engine::Server), engineName);

QString withCredentials(const QString& uri, const QString& user, const QString& password)
{
    QUrl url(uri);
    url.setUserName(user);
    url.setPassword(password);
    return url.toString();
}

} // namespace

TEST(ServerUri, IsRecognisedShownWithoutItsPasswordAndRefusedWhenUnusable)
{
    EXPECT_TRUE(Postgres::isServerUri(QStringLiteral("postgresql://u:p@db.club.org:5432/corvex")));
    EXPECT_TRUE(Postgres::isServerUri(QStringLiteral("POSTGRES://db/corvex")));
    EXPECT_FALSE(Postgres::isServerUri(QStringLiteral("/home/club/postgresql/corvexdata.db")));
    // No database, options that would break the option list, nobody listening (port 1): 3024, and the
    // password never shows.
    for (const char* uri : {"postgresql://127.0.0.1:1", "postgresql://127.0.0.1:1/corvex?options=-c%20x%3Dy",
                            "postgresql://corvex:x@127.0.0.1:1/corvex"}) {
        Database database;
        const DbResult result = database.open(QString::fromLatin1(uri));
        EXPECT_EQ(result.code, DbError::FileNotFound) << uri;
        EXPECT_FALSE(result.description.contains(QStringLiteral(":x@"))) << uri;
        EXPECT_FALSE(database.isOpen());
    }
}

// A server database that cannot be used: 3024 when it is not there, 3031 for a wrong password, an empty
// database (only the first run or db init puts the schema in), foreign tables (even when asked to create)
// and a newer schema, 3051 for a user who may only read.
TEST_P(ServerTest, DatabasesThatCannotBeUsedGiveTheirCodes)
{
    const QString admin = TestServer::adminUri();
    TestDatabase ours(Engine::Server);
    ours.addClub(QStringLiteral("Riverside"));
    ours.database().close();
    const QString empty = TestServer::createDatabase();
    const QString foreign = TestServer::createDatabase();
    ASSERT_TRUE(TestServer::exec(foreign, {QStringLiteral("CREATE TABLE notes (body text)")}));
    ASSERT_TRUE(TestServer::exec(
        ours.path(),
        {QStringLiteral("DROP ROLE IF EXISTS corvex_reader"),
         QStringLiteral("CREATE ROLE corvex_reader LOGIN PASSWORD 'reader'"),
         QStringLiteral("GRANT CONNECT ON DATABASE %1 TO corvex_reader").arg(QUrl(ours.path()).path().mid(1)),
         QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO corvex_reader")}));
    const std::tuple<QString, bool, int> cases[] = {
        {TestServer::withDatabase(admin, QStringLiteral("corvex_no_such_database")), false,
         DbError::FileNotFound},
        {withCredentials(admin, QUrl(admin).userName(), QStringLiteral("wrong")), false,
         DbError::NotOurDatabase},
        {empty, false, DbError::NotOurDatabase},
        {foreign, true, DbError::NotOurDatabase},
        {withCredentials(ours.path(), QStringLiteral("corvex_reader"), QStringLiteral("reader")), false,
         DbError::ReadOnly},
    };
    for (const auto& [uri, create, code] : cases) {
        Database database;
        const DbResult result = database.open(uri, create);
        EXPECT_EQ(result.code, code) << uri.toStdString() << ": " << result.description.toStdString();
        EXPECT_FALSE(database.isOpen());
    }
    ASSERT_TRUE(TestServer::exec(
        ours.path(),
        {QStringLiteral("COMMENT ON TABLE birds IS 'Corvex Admin schema %1'").arg(kSchemaVersion + 1)}));
    const DbResult newer = Database().open(ours.path());
    EXPECT_EQ(newer.code, DbError::NotOurDatabase);
    EXPECT_TRUE(newer.description.contains(QStringLiteral("newer"))) << newer.description.toStdString();
    for (const QString& uri : {empty, foreign, ours.path()})
        TestServer::dropDatabase(uri);
    TestServer::exec(admin, {QStringLiteral("DROP ROLE IF EXISTS corvex_reader")});
}

TEST_P(ServerTest, BandsAndNamesUseTheIndexesOnALargeTable)
{
    TestDatabase test(Engine::Server);
    ASSERT_TRUE(fillDatabase(test.database(), 200, 50).ok());
    QSqlQuery analyze(test.database().connection());
    ASSERT_TRUE(analyze.exec(QStringLiteral("ANALYZE birds")));
    // The same statement text the data layer sends: the comparison must not cost a scan of every bird.
    QSqlQuery plan(test.database().connection());
    ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN SELECT 1 FROM birds WHERE bnumber = '000123' AND "
                                         "clubletters = 'ab  ' AND NatOrg = 'us' AND HatchYr = '24'")));
    QString text;
    while (plan.next())
        text += plan.value(0).toString() + u'\n';
    EXPECT_TRUE(text.contains(QStringLiteral("birds_band"))) << text.toStdString();
    EXPECT_TRUE(test.data().bandExists(QStringLiteral("us24  aa000001  ")).value);
}
