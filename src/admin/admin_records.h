#pragma once

// The administration records of the memory module: the three header records (combine, club, flyer), one
// record per bird, and the record that stores one liberation point. Built field by field to fixed widths;
// records from outside are cut by position and read as blanks where they are short.

#include "database/schema.h"

#include <QString>

namespace admin_record {
constexpr int kS1Length = 34;
constexpr int kS2Length = 37;
constexpr int kS3Length = 46;
constexpr int kZLength = 27;
constexpr int kLibLength = 17;

// What fits the two- and three-digit places of S2 and S3.
constexpr int kMaxClubId = 99;
constexpr int kMaxFlyerId = 999;
// Birds a module holds; liberation points the clock takes.
constexpr int kMaxBirds = 500;
constexpr int kMaxLiberations = 99;
} // namespace admin_record

// The configuration values the header records carry, as stored.
struct AdminHeaderSettings {
    QString combineName;
    QString nationalOrg;
    QString combine;
    QString concourse;
};

QString buildS1Record(const AdminHeaderSettings& settings);
QString buildS2Record(const AdminHeaderSettings& settings, int clubId, const QString& clubName);
QString buildS3Record(const AdminHeaderSettings& settings, int clubId, int flyerId, const QString& flyerName);
// The stored field texts joined as they are.
QString buildZRecord(const Bird& bird);
// "I0" + race number (2) + day + month + name (8) + type.
QString LibRecord(const LiberationPoint& point);

// Characters 3 to 5 are "***": the module holds no inventory.
bool isClearedRecord(const QString& record);
// The flyer name of an S3 record: 20 characters from position 13, trailing spaces kept.
QString s3FlyerName(const QString& s3Record);
// Whether the flyer name a module holds is this flyer's: both cleaned as names are stored, letter case and
// outer spaces ignored, the module's read as this program writes it or as the DOS program wrote it.
bool isModuleFlyerName(const QString& moduleName, const QString& flyerName);

// A bird record as received, cut by position. BirdFlyerID and rowId are left 0, colour NONE.
Bird birdFromZRecord(const QString& record);
// Characters 2 to 15 of a bird record: organisation, year, club letters and band number.
QString zRecordBand(const QString& record);
