#include "admin/admin_records.h"

#include "admin/clean_text.h"
#include "common/pad_field.h"
#include "common/text_codec.h"

namespace {
QString padded(const QString& text, int width)
{
    return PadField(text, width, QLatin1Char(' '), true);
}

// "##00" and "###000": at least that many digits, leading zeros added, never cut.
QString digits(int value, int minimum)
{
    return QString::number(value).rightJustified(minimum, QLatin1Char('0'));
}
} // namespace

QString buildS1Record(const AdminHeaderSettings& settings)
{
    return padded(QStringLiteral("S1"), 12) + padded(settings.combineName, 20) + settings.nationalOrg;
}

QString buildS2Record(const AdminHeaderSettings& settings, int clubId, const QString& clubName)
{
    return padded(QStringLiteral("S2"), 5) + settings.combine + digits(clubId, 2) + QStringLiteral("   ") +
           padded(clubName, 20) + QLatin1Char(' ') + settings.concourse;
}

QString buildS3Record(const AdminHeaderSettings& settings, int clubId, int flyerId, const QString& flyerName)
{
    return padded(QStringLiteral("S3"), 5) + settings.combine + digits(clubId, 2) + digits(flyerId, 3) +
           padded(flyerName, 20) + QStringLiteral("00000000000000");
}

QString buildZRecord(const Bird& bird)
{
    return QLatin1Char('Z') + bird.NatOrg + bird.HatchYr + bird.clubletters + bird.bnumber + bird.sex +
           bird.elecnumber + bird.type;
}

QString LibRecord(const LiberationPoint& point)
{
    return QStringLiteral("I0") + PadField(point.racenum, 2, QLatin1Char('0'), false) +
           Mid(point.racedate, 3, 2) + Mid(point.racedate, 1, 2) + padded(point.racename, 8) + point.racetype;
}

bool isClearedRecord(const QString& record)
{
    return Mid(record, 3, 3) == QStringLiteral("***");
}

QString s3FlyerName(const QString& s3Record)
{
    return Mid(s3Record, 13, 20);
}

bool isModuleFlyerName(const QString& moduleName, const QString& flyerName)
{
    const QString stored = cleanedName(flyerName);
    for (const QString& reading : {moduleName, dosReading(moduleName)}) {
        if (cleanedName(reading).compare(stored, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

Bird birdFromZRecord(const QString& record)
{
    Bird bird;
    bird.NatOrg = Mid(record, 2, 2);
    bird.HatchYr = Mid(record, 4, 2);
    bird.clubletters = Mid(record, 6, 4);
    bird.bnumber = Mid(record, 10, 6);
    bird.sex = Mid(record, 16, 1);
    bird.elecnumber = Mid(record, 17, 10);
    bird.color = kDefaultColour;
    bird.type = Mid(record, 27, 1);
    return bird;
}

QString zRecordBand(const QString& record)
{
    return Mid(record, 2, 14);
}
