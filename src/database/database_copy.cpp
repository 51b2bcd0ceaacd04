#include "database/database_copy.h"

#include "database/schema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Rows per INSERT: far fewer round trips to a server, well under every engine's limit of bound values.
constexpr int kRowsPerStatement = 200;

struct TableCopy {
    QString table;
    QString keyColumn;  // the column that holds the ID or the stored order, copied as well
    QStringList fields; // the other columns
};

std::vector<TableCopy> tableCopies()
{
    std::vector<TableCopy> copies;
    for (const TableShape& shape : expectedTables()) {
        TableCopy copy{shape.name, kRowIdColumn, shape.fields};
        // clubs and flyerlist are numbered by their own counter key.
        if (shape.name == QLatin1String("clubs") || shape.name == QLatin1String("flyerlist"))
            copy.keyColumn = copy.fields.takeFirst();
        copies.push_back(copy);
    }
    return copies;
}

DbResult exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return DbResult::fromSqlError(query.lastError());
    return {};
}

DbResult rowCount(QSqlDatabase db, const QString& table, int& count)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !query.next())
        return DbResult::fromSqlError(query.lastError());
    count = query.value(0).toInt();
    return {};
}

DbResult flush(QSqlDatabase target, const TableCopy& copy, const QVariantList& values, int rows)
{
    if (rows == 0)
        return {};
    const int columns = static_cast<int>(copy.fields.size()) + 1;
    QString placeholders = u'(' + QStringLiteral("?, ").repeated(columns - 1) + QStringLiteral("?)");
    QStringList tuples;
    for (int i = 0; i < rows; ++i)
        tuples << placeholders;
    QSqlQuery insert(target);
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES %4")
                            .arg(copy.table, copy.keyColumn, copy.fields.join(QStringLiteral(", ")),
                                 tuples.join(QStringLiteral(", ")))))
        return DbResult::fromSqlError(insert.lastError());
    for (const QVariant& value : values)
        insert.addBindValue(value);
    if (!insert.exec())
        return DbResult::fromSqlError(insert.lastError());
    return {};
}

DbResult copyTable(QSqlDatabase source, QSqlDatabase target, const TableCopy& copy, int& copied)
{
    QSqlQuery rows(source);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %1")
                       .arg(copy.keyColumn, copy.fields.join(QStringLiteral(", ")), copy.table)))
        return DbResult::fromSqlError(rows.lastError());
    const int columns = static_cast<int>(copy.fields.size()) + 1;
    QVariantList values;
    int pending = 0;
    copied = 0;
    while (rows.next()) {
        for (int column = 0; column < columns; ++column)
            values << rows.value(column);
        ++copied;
        if (++pending == kRowsPerStatement) {
            const DbResult status = flush(target, copy, values, pending);
            if (!status.ok())
                return status;
            values.clear();
            pending = 0;
        }
    }
    if (rows.lastError().isValid())
        return DbResult::fromSqlError(rows.lastError());
    return flush(target, copy, values, pending);
}

} // namespace

DbResult copyDatabase(const QString& source, const QString& target, bool replace, CopyCounts* counts)
{
    if (source == target)
        return DbResult::failure(DbError::General,
                                 QStringLiteral("The source and the target are the same database."));
    Database from;
    DbResult status = from.open(source);
    if (!status.ok())
        return status;
    Database to;
    const DatabaseEngine& targetEngine = engineFor(target);
    status = to.open(target, targetEngine.isServer() || !targetEngine.mayHoldData(target));
    if (!status.ok())
        return status;

    QSqlDatabase in = from.connection();
    QSqlDatabase out = to.connection();
    int held = 0;
    for (const TableCopy& copy : tableCopies()) {
        int rows = 0;
        status = rowCount(out, copy.table, rows);
        if (!status.ok())
            return status;
        held += rows;
    }
    if (held > 0 && !replace)
        return DbResult::failure(
            DbError::General, QStringLiteral("The target database already holds %1 rows; nothing was copied "
                                             "(--replace empties it first).")
                                  .arg(held));

    // A consistent picture of the source while other PCs may be writing to it.
    status = from.begin(Database::Access::Read);
    if (!status.ok())
        return status;
    status = to.begin();
    if (!status.ok())
        return status;
    // Birds of flyers that are gone are copied too: the copy keeps what the source holds.
    status = to.admitOrphanBirds();
    CopyCounts copied;
    for (const TableCopy& copy : tableCopies()) {
        if (!status.ok())
            break;
        status = exec(out, QStringLiteral("DELETE FROM ") + copy.table);
        int rows = 0;
        if (status.ok())
            status = copyTable(in, out, copy, rows);
        if (copy.table == QLatin1String("clubs"))
            copied.clubs = rows;
        else if (copy.table == QLatin1String("flyerlist"))
            copied.flyers = rows;
        else if (copy.table == QLatin1String("birds"))
            copied.birds = rows;
        else
            copied.points = rows;
    }
    if (status.ok())
        status = to.engine().continueCounters(out);
    from.rollback();
    if (!status.ok()) {
        to.rollback();
        return status;
    }
    status = to.commit();
    if (status.ok() && counts)
        *counts = copied;
    return status;
}
