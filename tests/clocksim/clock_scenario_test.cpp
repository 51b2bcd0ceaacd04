#include "model/clock_scenario.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The demo module is what a user tries the program with: its records must have the module's lengths.
TEST(ClockScenario, DemoRecordsHaveTheirLengths)
{
    const ClockScenario demo = ClockScenario::demo();
    EXPECT_EQ(QList<qsizetype>({demo.s1.size(), demo.s2.size(), demo.s3.size()}),
              QList<qsizetype>({34, 37, 46}));
    for (const QString& bird : demo.birds)
        EXPECT_EQ(bird.size(), 27) << bird.toStdString();
    ASSERT_FALSE(demo.races.isEmpty());
    EXPECT_EQ(demo.races.first().size(), 74);
    for (const QString& record : demo.races) {
        const bool header = record.size() >= 49 && record.size() <= 74;
        EXPECT_TRUE(header || record.size() == 25 || record.size() == 26) << record.toStdString();
        if (header) { // the module's hexadecimal serial 00003039 in decimal digits
            EXPECT_EQ(record.mid(11, 8), "00012345");
        }
    }
    for (const QString& liberation : demo.liberations)
        EXPECT_EQ(liberation.size(), 17);
}

TEST(ClockScenario, FilesKeepEverythingMissingPartsKeepTheDefaults)
{
    ClockScenario demo = ClockScenario::demo();
    demo.s3.replace(12, 5, "J\u00D6RGE"); // non-ASCII survives
    QTemporaryDir dir;
    ASSERT_TRUE(demo.save(dir.filePath("clock.json")));
    const auto loaded = ClockScenario::load(dir.filePath("clock.json"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->toJson(), demo.toJson());
    EXPECT_EQ(loaded->s3, demo.s3);

    const auto s = ClockScenario::fromJson(R"({"rbm": {"status": 5}, "races": ["a", "b"]})");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->rbm.version, 123);
    EXPECT_EQ(s->rbm.serial, "000000FF");
    EXPECT_EQ(s->rbm.status, "5");
    EXPECT_EQ(s->pcf.serial, "00FF");
    EXPECT_FALSE(s->hasInventory());
    EXPECT_EQ(s->races, (QStringList{"a", "b"}));

    QString error;
    EXPECT_FALSE(ClockScenario::load(dir.filePath("missing.json"), &error));
    EXPECT_TRUE(error.contains("missing.json"));
    EXPECT_FALSE(ClockScenario::fromJson("[1, 2]", &error));
    EXPECT_EQ(error, "the scenario is not a JSON object");
}
