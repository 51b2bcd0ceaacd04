#pragma once

// The files of the DOS administration program: one administration file per concourse and combine
// ("S" + concourse + combine + ".DAT", S3 flyer records) and one bird file per flyer
// ("Z" + combine + club + "." + flyer, one bird record per field). Both are code page 437 texts read as
// fields separated by commas or line ends; a field in double quotes keeps its commas.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct Bird;

constexpr int kMaxDosFlyers = 999;
constexpr int kMaxDosBirds = 500;

// The fields of a DOS text file in order. Quotes around a field are removed; an unquoted field loses its
// leading blanks; control characters become spaces. A Ctrl-Z ends the file, as DOS editors wrote it.
QStringList readDosFields(const QByteArray& bytes);

// One S3 record of an administration file, cut by position (a short record reads as blanks).
struct FlyerRecord {
    QString record;
    QString combine;   // 6, 2
    QString club;      // 8, 2
    QString flyer;     // 10, 3
    QString name;      // 13, 20, cleaned (CleanText) and left-aligned in its width
    QString longitude; // 33, 7
    QString latitude;  // 40, 7

    static FlyerRecord fromRecord(const QString& record);
    // "Z" + combine + club + "." + flyer, as they stand in the record.
    QString birdFileName() const;
    // A name that holds only letters and digits around its "." (so it cannot reach another folder).
    bool birdFileNameValid() const;
};

// The S3 records of an administration file, at most kMaxDosFlyers.
std::vector<FlyerRecord> parseAdminFile(const QByteArray& bytes);
// The bird records of a bird file, at most kMaxDosBirds; blank fields are no birds.
QStringList parseBirdFile(const QByteArray& bytes);
// The bird of a bird record for the flyer, with the record's characters as they stand and colour NONE.
Bird birdFromRecord(const QString& record, int flyerId);

// Concourse (characters 2-5) and combine (6-7) of an administration file's name.
QString concourseOfFileName(const QString& fileName);
QString combineOfFileName(const QString& fileName);

// The administration files of a folder ("S??????.DAT", letter case ignored), in alphabetical order.
QStringList listAdminFiles(const QString& folder);
// The path of the file named name in folder, matched without regard to letter case; empty when none.
QString findFileIgnoringCase(const QString& folder, const QString& name);

// Why a file could not be read, with the message the user is shown.
struct DosReadResult {
    enum class Error { None, NotFound, DeviceNotReady, Other };
    Error error = Error::None;
    QString description;
    QByteArray bytes;

    bool ok() const { return error == Error::None; }
    // The message for a failed read of an administration file.
    QString adminFileMessage() const;
};
DosReadResult readDosFile(const QString& path);
