#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QString>

namespace season {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The latest year whose first race day (14 June) is not in the future, so the export's date is accepted.
inline int seasonYear()
{
    const QDate today = QDate::currentDate();
    return QDate(today.year(), 6, 14) <= today ? today.year() : today.year() - 1;
}

} // namespace season
