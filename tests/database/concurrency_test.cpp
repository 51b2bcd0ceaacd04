#include "admin/admin_data.h"
#include "admin/bird_operations.h"
#include "support/database_builder.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

// Two PCs at once on one server database: each its own connection, adding the same bands for its own
// flyer. Each band must be stored once, and a refusal must only ever be the duplicate band.
TEST(ServerConcurrency, TwoWritersAddingTheSameBandsStoreEachBandOnce)
{
    if (TestServer::adminUri().isEmpty())
        GTEST_SKIP() << "CORVEX_TEST_PG_URI is not set: no PostgreSQL server to run on";
    constexpr int kTries = 200;
    TestDatabase test(Engine::Server);
    test.addFlyer(QStringLiteral("Smith"));
    test.addFlyer(QStringLiteral("Jones"));
    std::atomic<int> stored = 0, failed = 0;
    const auto writer = [&](const QString& name) {
        Database database;
        database.open(test.path());
        AdminData data(database);
        const auto owner = data.flyerByName(name).value;
        failed += owner ? 0 : 1;
        for (int number = 1; owner && number <= kTries; ++number) {
            const AdminOutcome outcome =
                bird::add(data, *owner, {"AU", "08", "abc ", QString::number(number), "BB", true});
            if (outcome.done())
                ++stored;
            else if (!outcome.box.text.contains(QStringLiteral("already exists")))
                ++failed;
        }
    };
    std::thread first(writer, QStringLiteral("Smith"));
    std::thread second(writer, QStringLiteral("Jones"));
    first.join();
    second.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(stored, kTries);
    for (int number = 1; number <= kTries; ++number) {
        const QString band = QStringLiteral("AU08 ABC%1").arg(number, 6, 10, QLatin1Char('0'));
        EXPECT_EQ(test.data().birdsByBand(band).value.size(), 1u) << band.toStdString();
    }
}
