#include "dosimport/dos_files.h"

#include "admin/admin_records.h"
#include "admin/clean_text.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "database/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isSeparator(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool allLettersOrDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiLetterOrDigit);
}

} // namespace

QStringList readDosFields(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\x1A');
    const QString text = fromCodePage437(end < 0 ? bytes : bytes.left(end));
    const qsizetype n = text.size();
    QStringList fields;
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
            ++i;
        if (i < n && text[i] == QLatin1Char('"')) {
            const qsizetype start = ++i;
            while (i < n && text[i] != QLatin1Char('"') && !isLineEnd(text[i]))
                ++i;
            fields.append(controlsAsSpaces(text.mid(start, i - start)));
            // Whatever stands between the closing quote and the separator is not part of the field.
            while (i < n && !isSeparator(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !isSeparator(text[i]))
                ++i;
            fields.append(controlsAsSpaces(text.mid(start, i - start)));
        }
        if (i < n) {
            if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++i;
        }
    }
    return fields;
}

FlyerRecord FlyerRecord::fromRecord(const QString& record)
{
    // The name as the program stores and looks up names, left in its width for the import's list.
    QString name = Mid(record, 13, 20);
    const auto width = static_cast<int>(name.size());
    return {record,
            Mid(record, 6, 2),
            Mid(record, 8, 2),
            Mid(record, 10, 3),
            PadField(CleanText(name), width, QLatin1Char(' '), true),
            Mid(record, 33, 7),
            Mid(record, 40, 7)};
}

QString FlyerRecord::birdFileName() const
{
    return QStringLiteral("Z") + combine + club + QStringLiteral(".") + flyer;
}

bool FlyerRecord::birdFileNameValid() const
{
    return allLettersOrDigits(QStringLiteral("Z") + combine + club) && allLettersOrDigits(flyer);
}

std::vector<FlyerRecord> parseAdminFile(const QByteArray& bytes)
{
    std::vector<FlyerRecord> records;
    for (const QString& field : readDosFields(bytes)) {
        if (!field.startsWith(QLatin1String("S3")))
            continue;
        records.push_back(FlyerRecord::fromRecord(field));
        if (records.size() == static_cast<size_t>(kMaxDosFlyers))
            break;
    }
    return records;
}

QStringList parseBirdFile(const QByteArray& bytes)
{
    QStringList records;
    for (const QString& field : readDosFields(bytes)) {
        // A blank line would otherwise become a bird without a band.
        if (field.trimmed().isEmpty())
            continue;
        records.append(field);
        if (records.size() == kMaxDosBirds)
            break;
    }
    return records;
}

Bird birdFromRecord(const QString& record, int flyerId)
{
    // A bird file line is the clock's Z record without its "Z".
    Bird bird = birdFromZRecord(QLatin1Char('Z') + record);
    bird.BirdFlyerID = flyerId;
    return bird;
}

QString concourseOfFileName(const QString& fileName)
{
    return Mid(fileName, 2, 4);
}

QString combineOfFileName(const QString& fileName)
{
    return Mid(fileName, 6, 2);
}

QStringList listAdminFiles(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^S.{6}\\.DAT$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    if (folder.isEmpty())
        return names;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (pattern.match(name).hasMatch())
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QString findFileIgnoringCase(const QString& folder, const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QString DosReadResult::adminFileMessage() const
{
    switch (error) {
    case Error::None:
        return {};
    case Error::NotFound:
        return QStringLiteral("Error retrieving data.  No import files found.") + kCrLf +
               QStringLiteral("Please go to the Options menu and change") + kCrLf +
               QStringLiteral("the Concourse and Combine descriptions.");
    case Error::DeviceNotReady:
        return QStringLiteral("Error retrieving import data.  ") + description + QStringLiteral(".") + kCrLf +
               QStringLiteral("Please check floppy disk drive.");
    case Error::Other:
        break;
    }
    return QStringLiteral("Error retrieving import data. ") + description;
}

DosReadResult readDosFile(const QString& path)
{
    DosReadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = DosReadResult::Error::NotFound;
        result.description = QStringLiteral("File not found");
        return result;
    }
    if (!info.isFile()) {
        result.error = DosReadResult::Error::Other;
        result.description = QStringLiteral("Not a file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = DosReadResult::Error::Other;
        result.description = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = DosReadResult::Error::DeviceNotReady;
        result.description = file.errorString();
    }
    return result;
}
