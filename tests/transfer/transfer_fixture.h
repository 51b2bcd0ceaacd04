#pragma once

#include "admin/admin_records.h"
#include "clocklink/command_exchange.h"
#include "common/text_codec.h"
#include "support/database_builder.h"
#include "support/simulated_clock.h"

#include <QSqlQuery>

// The stand-in clock with a module that is not in race mode, and a fresh database.
class TransferTest : public SimulatedClockTest {
protected:
    void SetUp() override
    {
        SimulatedClockTest::SetUp();
        sim.update([](ClockScenario& s) { s.rbm.status = "0"; });
    }

    // What the program wrote after the version query ("v" to the RBM, "v" and "e00" to the PCF).
    QList<QByteArray> commandsAfterQuery() { return sim.commands().mid(3); }

    // A flyer with a chosen number in a club with a chosen number, as a database of long standing holds them.
    void insertClubAndFlyer(int clubId, const QString& clubName, int flyerId, const QString& flyerName)
    {
        QSqlQuery query(db.database().connection());
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO clubs (ClubID, ClubName) VALUES (%1, '%2')")
                                   .arg(clubId)
                                   .arg(clubName)));
        ASSERT_TRUE(
            query.exec(QStringLiteral("INSERT INTO flyerlist (FlyerID, ClubID, Name) VALUES (%1, %2, '%3')")
                           .arg(flyerId)
                           .arg(clubId)
                           .arg(flyerName)));
    }

    // The module holds this flyer's inventory.
    void moduleHolds(const QString& flyerName, const QStringList& birds = {}, int club = 1,
                     const QString& clubName = "Riverside")
    {
        sim.update([&](ClockScenario& s) {
            s.s1 = buildS1Record(settings);
            s.s2 = buildS2Record(settings, club, clubName);
            s.s3 = buildS3Record(settings, club, 5, flyerName);
            s.birds = birds;
        });
    }

    std::vector<Bird> birdsOf(int flyerId) { return db.data().birdsOfFlyer(flyerId).value; }

    static QByteArray ack() { return control::text(control::ACK); }
    static QByteArray eot() { return control::text(control::EOT); }
    static QByteArray wire(const QString& record) { return toWindows1252(record); }
    // A framed answer whose checksum is spoiled.
    static QByteArray spoiled(const QByteArray& text)
    {
        QByteArray frame = ClockDevice::frameAnswer(text);
        frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x01);
        return frame;
    }

    TestDatabase db;
    const AdminHeaderSettings settings{"Tulsa", "US", "07", "0001"};
};
