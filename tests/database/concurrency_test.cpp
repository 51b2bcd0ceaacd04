#include "admin/admin_data.h"
#include "admin/bird_operations.h"
#include "database/maintenance.h"
#include "dosimport/dos_fixture.h"
#include "support/database_builder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

// Two PCs at once: separate processes on one server database.

namespace {

constexpr int kTries = 200;
const char* const kWorkerUri = "CORVEX_PG_WORKER_URI";
const char* const kWorkerFlyer = "CORVEX_PG_WORKER_FLYER";

QString band(int number)
{
    return QStringLiteral("AU08 ABC") + QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

// Starts this test program again running only the worker test, for the given flyer.
std::unique_ptr<QProcess> startWorker(const QString& uri, const QString& flyer)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kWorkerUri), uri);
    environment.insert(QString::fromLatin1(kWorkerFlyer), flyer);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=ConcurrencyWorker.AddsEveryBandOnce")});
    return process;
}

class ServerConcurrency : public DosFolderTest {
protected:
    void SetUp() override
    {
        if (TestServer::adminUri().isEmpty())
            GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
        DosFolderTest::SetUp();
    }
};

} // namespace

// Not a test of its own: the body the two processes of the band test run (skipped when run directly).
TEST(ConcurrencyWorker, AddsEveryBandOnce)
{
    const QString uri = qEnvironmentVariable(kWorkerUri);
    if (uri.isEmpty())
        GTEST_SKIP() << "runs only as a worker process of ServerConcurrency";
    Database database;
    ASSERT_TRUE(database.open(uri).ok());
    AdminData data(database);
    const auto owner = data.flyerByName(qEnvironmentVariable(kWorkerFlyer));
    ASSERT_TRUE(owner.value.has_value());
    int stored = 0, refused = 0;
    for (int number = 1; number <= kTries; ++number) {
        const bird::BirdFields fields{QStringLiteral("AU"),    QStringLiteral("08"), QStringLiteral("abc "),
                                      QString::number(number), QStringLiteral("BB"), true};
        const AdminOutcome outcome = bird::add(data, *owner.value, fields);
        ASSERT_NE(outcome.status, AdminOutcome::Status::Failed) << outcome.db.description.toStdString();
        if (outcome.done()) {
            ++stored;
        } else {
            // Only ever because the other process has stored this band.
            ASSERT_TRUE(outcome.box.text.contains(QStringLiteral("already exists")))
                << outcome.box.text.toStdString();
            ++refused;
        }
    }
    std::printf("stored %d refused %d\n", stored, refused);
}

TEST_F(ServerConcurrency, TwoProcessesAddingTheSameBandsStoreEachBandOnce)
{
    TestDatabase test(Engine::Server);
    test.addFlyer(QStringLiteral("Smith"));
    test.addFlyer(QStringLiteral("Jones"));
    test.database().close();

    auto first = startWorker(test.path(), QStringLiteral("Smith"));
    auto second = startWorker(test.path(), QStringLiteral("Jones"));
    for (auto* worker : {first.get(), second.get()}) {
        ASSERT_TRUE(worker->waitForFinished(100000));
        const QByteArray output = worker->readAll();
        EXPECT_EQ(worker->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("stored ")) << output.toStdString();
    }

    Database database;
    ASSERT_TRUE(database.open(test.path()).ok());
    AdminData data(database);
    // Each band once: the workers add nothing else.
    for (int number = 1; number <= kTries; ++number)
        EXPECT_EQ(data.birdsByBand(band(number)).value.size(), 1u) << band(number).toStdString();
}

TEST_F(ServerConcurrency, TwoImportsOfDifferentDosFilesAtOnceBothComplete)
{
    TestDatabase test(Engine::Server);
    test.addClub(QStringLiteral("Hilltop"));
    const int flyersPerFile = 30, birdsPerFlyer = 40;
    QStringList adminFiles;
    for (const QString& club : {QStringLiteral("05"), QStringLiteral("06")}) {
        QStringList records;
        for (int flyer = 1; flyer <= flyersPerFile; ++flyer) {
            const QString number = QStringLiteral("%1").arg(flyer, 3, 10, QLatin1Char('0'));
            records << s3Record(club, number, QStringLiteral("Flyer %1-%2").arg(club, number));
            QStringList birds;
            for (int b = 0; b < birdsPerFlyer; ++b)
                birds << birdRecord(
                    QStringLiteral("US24 C%1%2%3")
                        .arg(club, number, QStringLiteral("%1").arg(b, 3, 10, QLatin1Char('0'))));
            writeBirdFile(QStringLiteral("Z01%1.%2").arg(club, number), birds);
        }
        adminFiles << writeAdminFile(QStringLiteral("S1234%1.DAT").arg(club), records);
    }
    test.database().close();

    std::vector<std::unique_ptr<QProcess>> imports;
    for (const QString& file : adminFiles) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(QStringLiteral(CORVEX_CLI_PATH),
                       {QStringLiteral("--home"), test.folder(), QStringLiteral("--database"), test.path(),
                        QStringLiteral("import-dos"), file, QStringLiteral("--club"),
                        QStringLiteral("Hilltop")});
        process->closeWriteChannel();
        imports.push_back(std::move(process));
    }
    for (auto& process : imports) {
        ASSERT_TRUE(process->waitForFinished(100000));
        const QString output = QString::fromUtf8(process->readAll());
        EXPECT_EQ(process->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.endsWith(QStringLiteral("Flyer(s) imported.\n"))) << output.toStdString();
    }

    EXPECT_TRUE(checkDatabase(test.path()).ok());
    Database database;
    ASSERT_TRUE(database.open(test.path()).ok());
    AdminData data(database);
    EXPECT_EQ(data.searchFlyers({}).value.size(), size_t(2 * flyersPerFile));
    const auto last = data.flyerByName(QStringLiteral("Flyer 06-030"));
    ASSERT_TRUE(last.value.has_value());
    EXPECT_EQ(data.birdsOfFlyer(last.value->FlyerID).value.size(), size_t(birdsPerFlyer));
}
