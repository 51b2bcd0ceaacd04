#include "admin/admin_data.h"
#include "database/postgres_engine.h"
#include "support/database_builder.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (TestServer::adminUri().isEmpty())
            GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
    }
};

QString withCredentials(const QString& uri, const QString& user, const QString& password)
{
    QUrl url(uri);
    url.setUserName(user);
    url.setPassword(password);
    return url.toString();
}

QString withDatabase(const QString& uri, const QString& name)
{
    QUrl url(uri);
    url.setPath(u'/' + name);
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

TEST_F(ServerTest, AMissingDatabaseIs3024AndAWrongPasswordIs3031)
{
    const QString admin = TestServer::adminUri();
    Database database;
    EXPECT_EQ(database.open(withDatabase(admin, QStringLiteral("corvex_no_such_database"))).code,
              DbError::FileNotFound);
    const QUrl url(admin);
    const DbResult wrong = database.open(withCredentials(admin, url.userName(), QStringLiteral("wrong")));
    EXPECT_EQ(wrong.code, DbError::NotOurDatabase) << wrong.description.toStdString();
    EXPECT_FALSE(database.isOpen());
}

TEST_F(ServerTest, APasswordInThePasswordFileNeedNotBeInTheAddress)
{
    TestDatabase test(Engine::Server);
    test.database().close();
    const QUrl url(test.path());
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("pgpass")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("%1:%2:*:%3:%4\n")
                   .arg(url.host())
                   .arg(url.port(5432))
                   .arg(url.userName(), url.password())
                   .toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray saved = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", QFile::encodeName(file.fileName()));
    const DbResult opened = Database().open(withCredentials(test.path(), url.userName(), {}));
    saved.isEmpty() ? qunsetenv("PGPASSFILE") : qputenv("PGPASSFILE", saved);
    EXPECT_TRUE(opened.ok()) << opened.description.toStdString();
}

TEST_F(ServerTest, ForeignTablesAnEmptyDatabaseAndANewerSchemaAre3031)
{
    const QString uri = TestServer::createDatabase();
    Database database;
    // Empty: only the first run (or db init) puts the schema in.
    EXPECT_EQ(database.open(uri).code, DbError::NotOurDatabase);
    ASSERT_TRUE(TestServer::exec(uri, {QStringLiteral("CREATE TABLE notes (body text)")}));
    EXPECT_EQ(database.open(uri, true).code, DbError::NotOurDatabase);
    TestServer::dropDatabase(uri);

    TestDatabase newer(Engine::Server);
    newer.database().close();
    ASSERT_TRUE(TestServer::exec(
        newer.path(),
        {QStringLiteral("COMMENT ON TABLE birds IS 'Corvex Admin schema %1'").arg(kSchemaVersion + 1)}));
    const DbResult result = database.open(newer.path());
    EXPECT_EQ(result.code, DbError::NotOurDatabase);
    EXPECT_TRUE(result.description.contains(QStringLiteral("newer"))) << result.description.toStdString();
}

TEST_F(ServerTest, AUserWhoMayOnlyReadIs3051)
{
    TestDatabase test(Engine::Server);
    test.addClub(QStringLiteral("Riverside"));
    const QString database = QUrl(test.path()).path().mid(1);
    ASSERT_TRUE(TestServer::exec(
        test.path(), {QStringLiteral("DROP ROLE IF EXISTS corvex_reader"),
                      QStringLiteral("CREATE ROLE corvex_reader LOGIN PASSWORD 'reader'"),
                      QStringLiteral("GRANT CONNECT ON DATABASE %1 TO corvex_reader").arg(database),
                      QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO corvex_reader")}));
    Database reader;
    const DbResult result =
        reader.open(withCredentials(test.path(), QStringLiteral("corvex_reader"), QStringLiteral("reader")));
    EXPECT_EQ(result.code, DbError::ReadOnly) << result.description.toStdString();
    EXPECT_FALSE(reader.isOpen());
    test.database().close();
    TestServer::dropDatabase(test.path());
    TestServer::exec(TestServer::adminUri(), {QStringLiteral("DROP ROLE IF EXISTS corvex_reader")});
}

TEST_F(ServerTest, BandsAndNamesUseTheIndexesOnALargeTable)
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
