#pragma once

#include "common/pad_field.h"
#include "common/text_codec.h"
#include "support/database_builder.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline const QString kSmith = "John Smith";
inline const QString kJones = "Mary Jones";
inline const QString kBrown = "Bob Brown";

// DOS files as the old program wrote them: code page 437, CR LF, records in double quotes.
inline QByteArray dosText(const QStringList& lines)
{
    return toCodePage437(lines.join("\r\n") + QStringLiteral("\r\n"));
}

inline QString quoted(const QString& field)
{
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// An S3 record: combine 01, the club and flyer numbers, the name in 20 characters, longitude, latitude.
inline QString s3Record(const QString& club, const QString& flyer, const QString& name,
                        const QString& longitude = "0871234", const QString& latitude = "0421234")
{
    return QStringLiteral("S3   01") + club + flyer + PadField(name, 20, u' ', true) + longitude + latitude;
}

// A bird record: the 14-character band, sex, ring, type.
inline QString birdRecord(const QString& band, const QString& sex = "C", const QString& ring = "0000000000",
                          const QString& type = "0")
{
    return band + sex + ring + type;
}

class DosFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs.onUnexpected = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(files.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Each record in quotes on its own line; an administration file has a header field first.
    QString writeBirdFile(const QString& name, const QStringList& records, QStringList lines = {})
    {
        for (const QString& record : records)
            lines << quoted(record);
        return write(name, dosText(lines));
    }
    QString writeAdminFile(const QString& name, const QStringList& records)
    {
        return writeBirdFile(name, records, {"\"S1          COMBINE ONE         US\""});
    }

    QTemporaryDir files;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
};
