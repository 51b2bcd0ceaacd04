// Many PCs on one PostgreSQL server: 1,000,000 birds over 20,000 flyers (50 each), 20 clients listing a
// flyer's birds at the same time. Target: median under 20 ms per list. Needs CORVEX_BENCH_PG_URI or
// CORVEX_TEST_PG_URI (a URI of a user that may create databases); the database corvex_bench is kept
// between runs.
//   BM_BirdListTwentyClients: 20 connections in threads, each running what "bird list" runs.
//   BM_CliBirdListTwentyProcesses: 20 "corvex-cli bird list" processes started at once (includes the
//   program start and the connection set-up).
//   BM_CliBatchTwentyClients: 20 "corvex-cli batch" clients, each sending "bird list" commands.
#include "admin/admin_data.h"
#include "bench_process.h"
#include "bench_support.h"
#include "database/database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int kFlyers = 20000;
constexpr int kBirdsPerFlyer = 50;
constexpr int kClients = 20;
const QString kBenchDatabase = QStringLiteral("corvex_bench");

std::mutex connectionMutex; // opening and closing touch the process-wide connection list

QString serverUri()
{
    const QString bench = qEnvironmentVariable("CORVEX_BENCH_PG_URI");
    return bench.isEmpty() ? qEnvironmentVariable("CORVEX_TEST_PG_URI") : bench;
}

QString benchUri()
{
    QUrl url(serverUri());
    url.setPath(u'/' + kBenchDatabase);
    return url.toString();
}

bool run(QSqlDatabase& db, const QString& sql, QString& error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    error = sql.left(60) + QStringLiteral(": ") + query.lastError().text();
    return false;
}

// The admin connection creates the database once; the rows are made by the server itself.
QString prepareServer()
{
    QString error;
    {
        const QUrl url(serverUri());
        QSqlDatabase admin =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        admin.setHostName(url.host());
        admin.setPort(url.port(5432));
        admin.setUserName(url.userName());
        admin.setPassword(url.password());
        admin.setDatabaseName(url.path().mid(1));
        if (!admin.open())
            return admin.lastError().text();
        QSqlQuery exists(admin);
        exists.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(kBenchDatabase));
        if (!exists.next())
            run(admin, QStringLiteral("CREATE DATABASE ") + kBenchDatabase, error);
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    if (!error.isEmpty())
        return error;

    Database database;
    const DbResult opened = database.open(benchUri(), true);
    if (!opened.ok())
        return opened.description;
    QSqlDatabase db = database.connection();
    QSqlQuery count(db);
    if (count.exec(QStringLiteral("SELECT count(*) FROM birds")) && count.next() &&
        count.value(0).toInt() == kFlyers * kBirdsPerFlyer)
        return {};
    const QStringList statements = {
        QStringLiteral("TRUNCATE clubs, flyerlist, birds, orte RESTART IDENTITY"),
        QStringLiteral("INSERT INTO clubs (ClubName) SELECT 'Club ' || c FROM generate_series(1, 20) c"),
        QStringLiteral("INSERT INTO flyerlist (ClubID, Name, Address, CityStateZip, email, Phone, Longitude, "
                       "Latitude) SELECT f % 20 + 1, 'Flyer ' || f, 'Empty', 'Empty', 'Empty', 'Empty', "
                       "'0871234', '0421234' FROM generate_series(1, %1) f")
            .arg(kFlyers),
        QStringLiteral(
            "INSERT INTO birds (BirdFlyerID, NatOrg, HatchYr, clubletters, bnumber, sex, elecnumber, "
            "color, type) SELECT (n - 1) / %1 + 1, 'US', '24', lpad(chr(65 + (n / %1) % 26) || "
            "chr(65 + (n / %1 / 26) % 26), 4), lpad(n::text, 6, '0'), 'C', "
            "lpad((1000000000 + n)::text, 10, '0'), 'NONE', '0' FROM generate_series(1, %2) n")
            .arg(kBirdsPerFlyer)
            .arg(kFlyers * kBirdsPerFlyer),
        QStringLiteral("ANALYZE"),
    };
    for (const QString& statement : statements) {
        if (!run(db, statement, error))
            return error;
    }
    return {};
}

bool ready(benchmark::State& state)
{
    static const QString failure =
        serverUri().isEmpty() ? QStringLiteral("no server: set CORVEX_BENCH_PG_URI") : prepareServer();
    if (failure.isEmpty())
        return true;
    state.SkipWithError(failure.toUtf8().constData());
    return false;
}

void BM_BirdListTwentyClients(benchmark::State& state)
{
    if (!ready(state))
        return;
    std::vector<double> latencies;
    std::mutex latencyMutex;
    for (auto _ : state) {
        std::vector<std::thread> clients;
        for (int client = 0; client < kClients; ++client) {
            clients.emplace_back([&, client]() {
                Database database;
                {
                    std::lock_guard lock(connectionMutex);
                    if (!database.open(benchUri()).ok())
                        return;
                }
                const AdminData data(database);
                std::mt19937 random(client + 1);
                std::vector<double> own;
                for (int list = 0; list < 10; ++list) {
                    const int flyer = std::uniform_int_distribution<int>(1, kFlyers)(random);
                    QElapsedTimer timer;
                    timer.start();
                    const auto owner = data.flyerByName(QStringLiteral("flyer %1  ").arg(flyer));
                    const auto birds = owner.value ? data.birdsOfFlyerListed(owner.value->FlyerID).value
                                                   : std::vector<Bird>{};
                    own.push_back(timer.nsecsElapsed() / 1e6);
                    if (birds.size() != kBirdsPerFlyer)
                        own.back() = 1e9; // a wrong answer counts as never
                }
                std::lock_guard lock(connectionMutex);
                database.close();
                std::lock_guard lockLatencies(latencyMutex);
                latencies.insert(latencies.end(), own.begin(), own.end());
            });
        }
        for (std::thread& client : clients)
            client.join();
    }
    state.counters["median_ms"] = bench::median(latencies);
    state.counters["lists"] = static_cast<double>(latencies.size());
}
BENCHMARK(BM_BirdListTwentyClients)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

QStringList birdListArguments(const QString& home, int flyer)
{
    return {QStringLiteral("--home"),
            home,
            QStringLiteral("--database"),
            benchUri(),
            QStringLiteral("bird"),
            QStringLiteral("list"),
            QStringLiteral("Flyer %1").arg(flyer)};
}

// Each latency runs from the start of a process to its end, taken in the order the processes end.
void BM_CliBirdListTwentyProcesses(benchmark::State& state)
{
    if (!ready(state))
        return;
    QTemporaryDir home;
    std::vector<double> latencies;
    int failures = 0;
    std::mt19937 random(7);
    for (auto _ : state) {
        std::vector<std::unique_ptr<bench::ChildProcess>> clients;
        for (int client = 0; client < kClients; ++client) {
            const int flyer = std::uniform_int_distribution<int>(1, kFlyers)(random);
            clients.push_back(std::make_unique<bench::ChildProcess>(QStringLiteral(CORVEX_CLI_PATH),
                                                                    birdListArguments(home.path(), flyer)));
            clients.back()->closeInput();
        }
        for (int ended = 0; ended < kClients; ++ended) {
            int status = 0;
            const pid_t pid = waitpid(-1, &status, 0);
            for (auto& client : clients) {
                if (client->pid() == pid) {
                    latencies.push_back(bench::millisecondsSince(client->started));
                    client->reaped(status);
                    const std::string out = client->readAll();
                    if (client->wait() != 0 || std::count(out.begin(), out.end(), '\n') != kBirdsPerFlyer)
                        ++failures;
                }
            }
        }
    }
    if (failures > 0)
        state.SkipWithError("a bird list failed or listed the wrong birds");
    state.counters["median_ms"] = bench::median(latencies);
}
BENCHMARK(BM_CliBirdListTwentyProcesses)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// 20 clients that keep "corvex-cli batch" running, as a script or another program on each PC would, each
// listing 10 flyers' birds one after another; every list is timed from the command sent to its last line.
void BM_CliBatchTwentyClients(benchmark::State& state)
{
    if (!ready(state))
        return;
    QTemporaryDir home;
    const QStringList batch = {QStringLiteral("--home"), home.path(), QStringLiteral("--database"),
                               benchUri(), QStringLiteral("batch")};
    std::vector<std::unique_ptr<bench::ChildProcess>> clients;
    for (int client = 0; client < kClients; ++client) {
        clients.push_back(std::make_unique<bench::ChildProcess>(QStringLiteral(CORVEX_CLI_PATH), batch));
        // The first list logs in; it is not counted.
        if (!clients.back()->writeLine(QStringLiteral("bird list \"Flyer 1\"")) ||
            !clients.back()->readLines(kBirdsPerFlyer))
            return state.SkipWithError("a batch client did not start");
    }
    std::vector<double> latencies;
    std::mutex latencyMutex;
    std::atomic<int> failures = 0;
    for (auto _ : state) {
        std::vector<std::thread> threads;
        for (int client = 0; client < kClients; ++client) {
            threads.emplace_back([&, client]() {
                std::mt19937 random(client + 1);
                std::vector<double> own;
                for (int list = 0; list < 10; ++list) {
                    const int flyer = std::uniform_int_distribution<int>(1, kFlyers)(random);
                    const auto sent = std::chrono::steady_clock::now();
                    if (!clients[client]->writeLine(QStringLiteral("bird list \"Flyer %1\"").arg(flyer)) ||
                        !clients[client]->readLines(kBirdsPerFlyer)) {
                        ++failures;
                        return;
                    }
                    own.push_back(bench::millisecondsSince(sent));
                }
                std::lock_guard lock(latencyMutex);
                latencies.insert(latencies.end(), own.begin(), own.end());
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    for (auto& client : clients) {
        client->closeInput();
        if (client->wait() != 0)
            ++failures;
    }
    if (failures > 0)
        state.SkipWithError("a batch client failed");
    state.counters["median_ms"] = bench::median(latencies);
    state.counters["lists"] = static_cast<double>(latencies.size());
}
BENCHMARK(BM_CliBatchTwentyClients)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    return 0;
}
