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
    QList<QByteArray> commandsAfterQuery()
    {
        QList<QByteArray> all = sim.commands();
        EXPECT_GE(all.size(), 3);
        return all.mid(3);
    }

    // A flyer with a chosen number in a club with a chosen number, as a database of long standing holds them.
    void insertClubAndFlyer(int clubId, const QString& clubName, int flyerId, const QString& flyerName)
    {
        QSqlQuery club(db.database().connection());
        club.prepare("INSERT INTO clubs (ClubID, ClubName) VALUES (?, ?)");
        club.addBindValue(clubId);
        club.addBindValue(clubName);
        ASSERT_TRUE(club.exec());
        QSqlQuery flyer(db.database().connection());
        flyer.prepare("INSERT INTO flyerlist (FlyerID, ClubID, Name) VALUES (?, ?, ?)");
        flyer.addBindValue(flyerId);
        flyer.addBindValue(clubId);
        flyer.addBindValue(flyerName);
        ASSERT_TRUE(flyer.exec());
    }

    std::vector<Bird> birdsOf(int flyerId)
    {
        const auto birds = db.data().birdsOfFlyer(flyerId);
        EXPECT_TRUE(birds.ok());
        return birds.value;
    }

    static QByteArray ack() { return control::text(control::ACK); }
    static QByteArray eot() { return control::text(control::EOT); }
    static QByteArray wire(const QString& record) { return toWindows1252(record); }

    TestDatabase db;
    const AdminHeaderSettings settings{"Tulsa", "US", "07", "0001"};
};
