#include "model/clock_scenario.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ClockScenario, DemoRecordsHaveTheirLengths)
{
    const ClockScenario demo = ClockScenario::demo();
    EXPECT_EQ(demo.s1.size(), 34);
    EXPECT_EQ(demo.s2.size(), 37);
    EXPECT_EQ(demo.s3.size(), 46);
    for (const QString& bird : demo.birds)
        EXPECT_EQ(bird.size(), 27) << bird.toStdString();
    ASSERT_FALSE(demo.races.isEmpty());
    for (const QString& record : demo.races) {
        const bool header = record.size() >= 49 && record.size() <= 74;
        const bool clocking = record.size() == 25 || record.size() == 26;
        EXPECT_TRUE(header || clocking) << record.toStdString();
        // The serial in decimal digits, as the module's hexadecimal serial 00003039.
        if (header) {
            EXPECT_EQ(record.mid(11, 8), "00012345");
        }
    }
    EXPECT_EQ(demo.races.first().size(), 74);
    for (const QString& liberation : demo.liberations)
        EXPECT_EQ(liberation.size(), 17);
}

TEST(ClockScenario, JsonAndFileRoundTripsKeepEverything)
{
    ClockScenario demo = ClockScenario::demo();
    demo.s3.replace(12, 5, "J\u00D6RGE"); // non-ASCII survives
    const auto back = ClockScenario::fromJson(demo.toJson());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->toJson(), demo.toJson());
    EXPECT_EQ(back->s3, demo.s3);
    EXPECT_EQ(back->races, demo.races);
    EXPECT_EQ(back->rbm.serial, demo.rbm.serial);

    QTemporaryDir dir;
    const QString path = dir.filePath("clock.json");
    ASSERT_TRUE(demo.save(path));
    const auto loaded = ClockScenario::load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->toJson(), demo.toJson());
    QString error;
    EXPECT_FALSE(ClockScenario::load(dir.filePath("missing.json"), &error));
    EXPECT_TRUE(error.contains("missing.json"));
}

TEST(ClockScenario, MissingPartsKeepTheDefaults)
{
    const auto s = ClockScenario::fromJson(R"({"rbm": {"status": 5}, "races": ["a", "b"]})");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->rbm.version, 123);
    EXPECT_EQ(s->rbm.serial, "000000FF");
    EXPECT_EQ(s->rbm.status, "5");
    EXPECT_EQ(s->pcf.serial, "00FF");
    EXPECT_FALSE(s->hasInventory());
    EXPECT_EQ(s->races, (QStringList{"a", "b"}));
}

TEST(ClockScenario, BadJsonIsRefusedWithAReason)
{
    QString error;
    EXPECT_FALSE(ClockScenario::fromJson("{\"rbm\": ", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ClockScenario::fromJson("[1, 2]", &error));
    EXPECT_EQ(error, "the scenario is not a JSON object");
}
