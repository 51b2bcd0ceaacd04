#include "support/database_builder.h"

#include "common/pad_field.h"

#include <gtest/gtest.h>

TestDatabase::TestDatabase()
{
    const DbResult opened = m_database.open(path(), true);
    EXPECT_TRUE(opened.ok()) << opened.description.toStdString();
}

QString TestDatabase::path() const
{
    return m_dir.filePath(kDatabaseFileName);
}

int TestDatabase::addClub(const QString& name)
{
    const Fetched<int> added = m_data.addClub(name);
    EXPECT_TRUE(added.ok()) << added.status.description.toStdString();
    return added.value;
}

int TestDatabase::addFlyer(const QString& name, int clubId)
{
    Flyer flyer;
    flyer.ClubID = clubId;
    flyer.Name = name;
    const Fetched<int> added = m_data.addFlyer(flyer);
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

Bird makeBird(int flyerId, const QString& band, const QString& elecnumber)
{
    const BandParts parts = splitBand(band);
    return {0,
            flyerId,
            parts.NatOrg,
            parts.HatchYr,
            parts.clubletters,
            parts.bnumber,
            QStringLiteral("C"),
            elecnumber,
            QStringLiteral("NONE"),
            QStringLiteral("0")};
}

DbResult fillDatabase(Database& database, int flyers, int birdsPerFlyer)
{
    AdminData data(database);
    DbResult status = database.begin();
    if (!status.ok())
        return status;
    for (int club = 1; club <= 20 && status.ok(); ++club)
        status = data.addClub(QStringLiteral("Club %1").arg(club)).status;
    int bandNumber = 0;
    for (int i = 0; i < flyers && status.ok(); ++i) {
        Flyer flyer;
        flyer.ClubID = i % 20 + 1;
        flyer.Name = QStringLiteral("Flyer %1").arg(i);
        const Fetched<int> flyerId = data.addFlyer(flyer);
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
    if (!status.ok()) {
        database.rollback();
        return status;
    }
    return database.commit();
}
