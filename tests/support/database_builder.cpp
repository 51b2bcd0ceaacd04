#include "support/database_builder.h"

#include "common/pad_field.h"
#include "database/schema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <gtest/gtest.h>

void EngineTest::SetUp()
{
    if (GetParam() == Engine::Server && TestServer::adminUri().isEmpty())
        GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
}

std::string engineName(const testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::File ? "File" : "PostgreSQL";
}

namespace TestServer {

QString adminUri()
{
    return qEnvironmentVariable("CORVEX_TEST_PG_URI");
}

namespace {

QString databaseName(const QString& uri)
{
    return QUrl(uri).path().mid(1);
}

} // namespace

QString withDatabase(const QString& uri, const QString& name)
{
    QUrl url(uri);
    url.setPath(u'/' + name);
    return url.toString();
}

bool exec(const QString& uri, const QStringList& statements)
{
    static int counter = 0;
    const QString connection = QStringLiteral("test-server-%1").arg(++counter);
    bool ok = true;
    {
        const QUrl url(uri);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(databaseName(uri));
        ok = db.open();
        EXPECT_TRUE(ok) << db.lastError().text().toStdString();
        for (const QString& statement : QStringList{"SET client_min_messages TO warning"} + statements) {
            if (!ok)
                break;
            QSqlQuery query(db);
            ok = query.exec(statement);
            EXPECT_TRUE(ok) << statement.toStdString() << ": " << query.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QString createDatabase()
{
    static int counter = 0;
    const QString name =
        QStringLiteral("corvex_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    exec(adminUri(), {QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name),
                      QStringLiteral("CREATE DATABASE %1").arg(name)});
    return withDatabase(adminUri(), name);
}

void dropDatabase(const QString& uri)
{
    exec(adminUri(), {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName(uri))});
}

} // namespace TestServer

TestDatabase::TestDatabase(Engine engine) : m_engine(engine)
{
    if (m_engine == Engine::Server)
        m_serverUri = TestServer::createDatabase();
    const DbResult opened = m_database.open(path(), true);
    EXPECT_TRUE(opened.ok()) << opened.description.toStdString();
}

TestDatabase::~TestDatabase()
{
    m_database.close();
    if (m_engine == Engine::Server)
        TestServer::dropDatabase(m_serverUri);
}

QString TestDatabase::path() const
{
    return m_engine == Engine::Server ? m_serverUri : m_dir.filePath(kDatabaseFileName);
}

int TestDatabase::addClub(const QString& name)
{
    const Fetched<int> added = m_data.addClub(name);
    EXPECT_TRUE(added.ok()) << added.status.description.toStdString();
    return added.value;
}

int TestDatabase::addFlyer(const QString& name, int clubId)
{
    const Fetched<int> added = m_data.addFlyer({0, clubId, name, {}, {}, {}, {}, {}, {}});
    EXPECT_TRUE(added.ok()) << added.status.description.toStdString();
    return added.value;
}

qint64 TestDatabase::addBird(int flyerId, const QString& band, const QString& elecnumber,
                             const QString& colour)
{
    Bird bird = makeBird(flyerId, band, elecnumber);
    bird.color = colour;
    const Fetched<qint64> added = m_data.addBird(bird);
    EXPECT_TRUE(added.ok()) << added.status.description.toStdString();
    return added.value;
}

qint64 TestDatabase::addOrphanBird(int flyerId, const QString& band)
{
    qint64 added = 0;
    EXPECT_TRUE(m_database
                    .inTransaction([&]() {
                        const DbResult admitted = m_database.admitOrphanBirds();
                        added = admitted.ok() ? addBird(flyerId, band) : 0;
                        return admitted;
                    })
                    .ok());
    return added;
}

Bird makeBird(int flyerId, const QString& band, const QString& elecnumber)
{
    const BandParts parts = splitBand(band);
    return {0,          flyerId, parts.NatOrg, parts.HatchYr, parts.clubletters, parts.bnumber, "C",
            elecnumber, "NONE",  "0"};
}

DbResult fillDatabase(Database& database, int flyers, int birdsPerFlyer)
{
    AdminData data(database);
    return database.inTransaction([&]() {
        DbResult status;
        for (int club = 1; club <= 20 && status.ok(); ++club)
            status = data.addClub(QStringLiteral("Club %1").arg(club)).status;
        int bandNumber = 0;
        for (int i = 0; i < flyers && status.ok(); ++i) {
            const Fetched<int> flyerId =
                data.addFlyer({0, i % 20 + 1, QStringLiteral("Flyer %1").arg(i), {}, {}, {}, {}, {}, {}});
            status = flyerId.status;
            const QString letters =
                PadField(QString(QChar(u'A' + i % 26)) + QChar(u'A' + (i / 26) % 26), 4, u' ', false);
            for (int b = 0; b < birdsPerFlyer && status.ok(); ++b) {
                ++bandNumber;
                const QString band = QStringLiteral("US24") + letters +
                                     QStringLiteral("%1").arg(bandNumber, 6, 10, QLatin1Char('0'));
                const QString ring =
                    QStringLiteral("%1").arg(1000000000LL + bandNumber, 10, 10, QLatin1Char('0'));
                status = data.addBird(makeBird(flyerId.value, band, ring)).status;
            }
        }
        return status;
    });
}

QStringList tableRows(const QString& location)
{
    Database database;
    const DbResult opened = database.open(location);
    EXPECT_TRUE(opened.ok()) << opened.description.toStdString();
    QStringList rows;
    for (const TableShape& shape : expectedTables()) {
        const QString key = shape.name == QLatin1String("clubs")       ? QStringLiteral("ClubID")
                            : shape.name == QLatin1String("flyerlist") ? QStringLiteral("FlyerID")
                                                                       : QString();
        const QStringList columns =
            key.isEmpty() ? QStringList{QStringLiteral("rowid")} + shape.fields : shape.fields;
        QSqlQuery query(database.connection());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                   .arg(columns.join(u','), shape.name, key.isEmpty() ? columns[0] : key)));
        while (query.next()) {
            QStringList values{shape.name};
            for (int i = 0; i < columns.size(); ++i)
                values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
            rows << values.join(u'|');
        }
    }
    return rows;
}
