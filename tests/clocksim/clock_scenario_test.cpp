#include "model/clock_scenario.h"

#include <gtest/gtest.h>

// The demo module is what a user tries the program with: its records must have the module's lengths. Files
// saved, loaded (non-ASCII text too) and refused, and the defaults of missing parts, are seen by the
// program's tests.
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
