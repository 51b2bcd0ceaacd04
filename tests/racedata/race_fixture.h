#pragma once

#include "clocklink/clock_link.h"
#include "common/text_codec.h"
#include "common/today.h"
#include "racedata/race_records.h"
#include "support/simulated_clock.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Concourse 0012, combine 03, club 07, flyer 045, RBM 00012345, started 05/12/08 07:30:00, stopped 18:00:05
// by the reference, 18:00:00 by the clock, race 03 of 05/12 from BOSTON.
inline QString raceHeader(const QString& raceNumber = "03", const QString& tail = "01")
{
    return "0012030704500012345051208073000051208180005051208180000" + raceNumber + " 05/12 BOSTON  " + tail;
}

// 49-55 characters: a training flight; "*" at 45 marks a training file.
inline QString trainingHeader()
{
    return "0012030704500012345051208073000" + QString(13, QLatin1Char('0')) + "*1234567";
}

inline QString clocking(const QString& band = "US08 ABC012345", const QString& time = "143005",
                        const QString& last = {})
{
    return band + "0" + time + "0512" + last;
}

inline QByteArray readAllBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The stand-in clock on a pseudo-terminal, a race folder that does not exist yet, and today fixed at
// 20 May 2008.
class RaceFixture : public SimulatedClockTest {
protected:
    void SetUp() override
    {
        SimulatedClockTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        folder = QDir(m_dir.path()).filePath("CVX");
        Today::set(QDateTime(QDate(2008, 5, 20), QTime(12, 0)));
    }
    void TearDown() override
    {
        Today::set(std::nullopt);
        SimulatedClockTest::TearDown();
    }

    void setRaces(const QStringList& races)
    {
        sim.update([&](ClockScenario& s) { s.races = races; });
    }
    QStringList filesInFolder() const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    QString inFolder(const QString& name) const { return QDir(folder).filePath(name); }

    QString folder;

private:
    QTemporaryDir m_dir;
};
