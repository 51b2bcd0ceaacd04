#include "database/mdb_migration.h"

#include "database/database_messages.h"
#include "database/schema.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <mdbtools.h>
#include <optional>
#include <set>
#include <utility>

namespace {

const QString kImportTitle = QStringLiteral("Import Access Database");

// Integer fields of our tables; every other field is text.
bool isIntegerField(const QString& table, const QString& field)
{
    return (table == QLatin1String("clubs") && field == QLatin1String("ClubID")) ||
           (table == QLatin1String("flyerlist") &&
            (field == QLatin1String("FlyerID") || field == QLatin1String("ClubID"))) ||
           (table == QLatin1String("birds") && field == QLatin1String("BirdFlyerID"));
}

// The key that other tables refer to: it must be present, a number and unique.
QString keyField(const QString& table)
{
    if (table == QLatin1String("clubs"))
        return QStringLiteral("ClubID");
    if (table == QLatin1String("flyerlist"))
        return QStringLiteral("FlyerID");
    return {};
}

std::optional<qint64> parseInteger(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (ok)
        return value;
    const double real = text.trimmed().toDouble(&ok);
    if (ok && real == static_cast<double>(static_cast<qint64>(real)))
        return static_cast<qint64>(real);
    return std::nullopt;
}

struct OpenedMdb {
    MdbHandle* handle = nullptr;
    ~OpenedMdb()
    {
        if (handle)
            mdb_close(handle);
    }
};

struct MdbTable {
    MdbTableDef* def = nullptr;
    ~MdbTable()
    {
        if (def)
            mdb_free_tabledef(def);
    }
};

// libmdb hands texts out in its target character set; ours is UTF-8 whatever the environment says.
void insistOnUtf8(MdbHandle* mdb)
{
    if (qstrcmp(mdb_target_charset(mdb), "UTF-8") == 0)
        return;
    qputenv("MDBICONV", "UTF-8");
    mdb_iconv_close(mdb);
    mdb_iconv_init(mdb);
}

QString catalogName(MdbHandle* mdb, const QString& wanted)
{
    if (!mdb->catalog)
        return {};
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        const auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

class Migration {
public:
    Migration(MdbHandle* mdb, Database& target, Progress* progress)
        : m_mdb(mdb), m_target(target), m_progress(progress)
    {
    }

    // Copies one table. A database failure or rows the file cannot give up end the whole migration.
    DbResult copy(const TableShape& shape, MdbTableReport& report)
    {
        report.table = shape.name;
        const QString sourceName = catalogName(m_mdb, shape.name);
        if (sourceName.isEmpty())
            return {};
        QByteArray nameBytes = sourceName.toUtf8();
        MdbTable table;
        table.def = mdb_read_table_by_name(m_mdb, nameBytes.data(), MDB_TABLE);
        if (!table.def || !mdb_read_columns(table.def))
            return damaged(shape.name, QStringLiteral("its definition cannot be read"));
        report.found = true;
        report.declared = static_cast<int>(table.def->num_rows);

        const int columnCount = static_cast<int>(table.def->num_cols);
        std::vector<QByteArray> buffers(columnCount);
        std::vector<int> lengths(columnCount, 0);
        std::vector<int> fieldColumn(shape.fields.size(), -1);
        for (int c = 0; c < columnCount; ++c) {
            const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table.def->columns, c));
            const QString name = QString::fromUtf8(column->name);
            const auto field = std::find_if(shape.fields.begin(), shape.fields.end(), [&](const QString& f) {
                return f.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (field == shape.fields.end() || fieldColumn[field - shape.fields.begin()] >= 0) {
                report.unknownColumns << name;
                continue;
            }
            fieldColumn[field - shape.fields.begin()] = c;
            buffers[c].fill('\0', static_cast<qsizetype>(m_mdb->bind_size) + 1);
            mdb_bind_column(table.def, c + 1, buffers[c].data(), &lengths[c]);
        }
        for (qsizetype f = 0; f < shape.fields.size(); ++f) {
            // The old program never had the later fields: nothing is missing when they are absent.
            if (fieldColumn[f] < 0 && !shape.laterFields.contains(shape.fields[f]))
                report.missingColumns << shape.fields[f];
        }
        const QString key = keyField(shape.name);
        if (!key.isEmpty() && fieldColumn[shape.fields.indexOf(key)] < 0)
            return damaged(shape.name, QStringLiteral("it has no column %1").arg(key));

        QSqlQuery insert(m_target.connection());
        QStringList marks;
        for (qsizetype f = 0; f < shape.fields.size(); ++f)
            marks << QStringLiteral("?");
        if (!insert.prepare(
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(shape.name, shape.fields.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
            return DbResult::fromSqlError(insert.lastError());

        std::set<qint64> keys;
        mdb_rewind_table(table.def);
        while (mdb_fetch_row(table.def)) {
            ++report.read;
            QVariantList values;
            QString problem;
            for (qsizetype f = 0; f < shape.fields.size() && problem.isEmpty(); ++f) {
                const int c = fieldColumn[f];
                const QString text =
                    c < 0 ? QString() : QString::fromUtf8(buffers[c].constData(), std::max(0, lengths[c]));
                if (!isIntegerField(shape.name, shape.fields[f])) {
                    // libmdb gives a Null as an empty text; the program has never told the two apart.
                    values << (text.isNull() ? QString(QLatin1String("")) : text);
                    continue;
                }
                const bool isKey = shape.fields[f] == key;
                if (text.trimmed().isEmpty() && !isKey) {
                    values << 0;
                    continue;
                }
                const std::optional<qint64> number = parseInteger(text);
                if (!number || *number < (isKey ? 1 : 0) || *number > std::numeric_limits<int>::max())
                    problem = QStringLiteral("%1 '%2' is not a valid number").arg(shape.fields[f], text);
                else if (isKey && !keys.insert(*number).second)
                    problem = QStringLiteral("%1 %2 is there twice").arg(shape.fields[f]).arg(*number);
                else
                    values << static_cast<int>(*number);
            }
            if (!problem.isEmpty()) {
                report.skipped << QStringLiteral("row %1 left out: %2").arg(report.read).arg(problem);
                continue;
            }
            for (const QVariant& value : values)
                insert.addBindValue(value);
            if (!insert.exec())
                return DbResult::fromSqlError(insert.lastError());
            ++report.written;
            if (m_progress && report.read % 1000 == 0) {
                m_progress->setLowerLine(QStringLiteral("%1: %2 rows").arg(shape.name).arg(report.read));
                m_progress->repaint();
            }
        }
        // libmdb passes over rows it cannot decode without a word: the count is the only witness.
        if (report.read < report.declared)
            return damaged(shape.name, QStringLiteral("it holds %1 rows but only %2 could be read")
                                           .arg(report.declared)
                                           .arg(report.read));
        return {};
    }

private:
    static DbResult damaged(const QString& table, const QString& why)
    {
        return DbResult::failure(DbError::General,
                                 QStringLiteral("The table %1 of the Access file is damaged: %2. "
                                                "Nothing was imported.")
                                     .arg(table, why));
    }

    MdbHandle* m_mdb;
    Database& m_target;
    Progress* m_progress;
};

DbResult emptyTables(Database& target)
{
    for (const TableShape& shape : expectedTables()) {
        QSqlQuery erase(target.connection());
        if (!erase.exec(QStringLiteral("DELETE FROM %1").arg(shape.name)))
            return DbResult::fromSqlError(erase.lastError());
    }
    return {};
}

Fetched<bool> holdsData(Database& database)
{
    for (const TableShape& shape : expectedTables()) {
        QSqlQuery query(database.connection());
        if (!query.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(shape.name)))
            return {false, DbResult::fromSqlError(query.lastError())};
        if (query.next())
            return {true, {}};
    }
    return {false, {}};
}

// Keys written as they were do not move a server's counters on: the next club or flyer added would
// take a key that is already there.
MdbMigrationReport failed(MdbMigrationReport report, int code, const QString& text)
{
    report.status = DbResult::failure(code, text);
    return report;
}

} // namespace

QStringList MdbMigrationReport::summary() const
{
    QStringList lines;
    for (const MdbTableReport& table : tables) {
        if (!table.found) {
            lines << QStringLiteral("%1: not in the file").arg(table.table);
            continue;
        }
        lines << QStringLiteral("%1: %2 rows read, %3 written")
                     .arg(table.table)
                     .arg(table.read)
                     .arg(table.written);
        for (const QString& line : table.skipped)
            lines << QStringLiteral("  ") + line;
        for (const QString& column : table.unknownColumns)
            lines << QStringLiteral("  column %1 is not one of ours and was left out").arg(column);
        for (const QString& column : table.missingColumns)
            lines << QStringLiteral("  column %1 is not in the file; stored empty").arg(column);
    }
    if (refused)
        lines << QStringLiteral("The database already holds data; nothing was imported.");
    else if (!status.ok())
        lines << status.description;
    else if (check.ok())
        lines << QStringLiteral("Database check passed.");
    else
        lines << QStringLiteral("Database check failed:") << check.problems
              << (check.status.ok() ? QString() : check.status.description);
    return lines;
}

Fetched<bool> databaseHoldsData(const QString& path)
{
    if (!engineFor(path).mayHoldData(path))
        return {false, {}};
    Database database;
    const DbResult opened = database.open(path);
    if (!opened.ok())
        return {false, opened};
    return holdsData(database);
}

MdbMigrationReport migrateMdb(const QString& mdbPath, const QString& targetPath, bool replace,
                              Progress* progress)
{
    MdbMigrationReport report;
    if (!QFileInfo(mdbPath).isFile())
        return failed(report, DbError::FileNotFound,
                      QStringLiteral("The file '%1' does not exist.").arg(mdbPath));
    const QString notAccess =
        QStringLiteral("The file '%1' is not an Access database. Nothing was imported.").arg(mdbPath);

    OpenedMdb file;
    const QByteArray encodedPath = QFile::encodeName(mdbPath);
    file.handle = mdb_open(encodedPath.constData(), MDB_NOFLAGS);
    if (!file.handle || !mdb_read_catalog(file.handle, MDB_TABLE))
        return failed(report, DbError::NotOurDatabase, notAccess);
    insistOnUtf8(file.handle);
    bool anyTable = false;
    for (const TableShape& shape : expectedTables())
        anyTable = anyTable || !catalogName(file.handle, shape.name).isEmpty();
    if (!anyTable)
        return failed(
            report, DbError::NotOurDatabase,
            QStringLiteral("The file '%1' holds none of the tables clubs, flyerlist, birds and orte: "
                           "it is not a Corvex administration database. Nothing was imported.")
                .arg(mdbPath));

    Database target;
    const DatabaseEngine& engine = engineFor(targetPath);
    report.status = target.open(targetPath, engine.isServer() || !engine.mayHoldData(targetPath));
    if (!report.status.ok())
        return report;
    const Fetched<bool> hasData = holdsData(target);
    if (!hasData.ok()) {
        report.status = hasData.status;
        return report;
    }
    if (hasData.value && !replace) {
        report.refused = true;
        return report;
    }

    if (progress) {
        progress->show();
        progress->setUpperLine(QStringLiteral("Importing Access Database..."));
        progress->repaint();
    }
    report.status = target.begin();
    // The file is taken as it is, birds of erased flyers too: the check afterwards names them.
    if (report.status.ok())
        report.status = target.admitOrphanBirds();
    if (report.status.ok() && hasData.value)
        report.status = emptyTables(target);
    Migration migration(file.handle, target, progress);
    for (const TableShape& shape : expectedTables()) {
        if (!report.status.ok())
            break;
        report.tables.emplace_back();
        report.status = migration.copy(shape, report.tables.back());
    }
    if (report.status.ok())
        report.status = engine.continueCounters(target.connection());
    if (report.status.ok())
        report.status = target.commit();
    else
        target.rollback();
    target.close();
    if (progress)
        progress->close();
    if (report.status.ok())
        report.check = checkDatabase(targetPath);
    return report;
}

MdbMigrationReport importAccessDatabase(const QString& mdbPath, const QString& targetPath, Dialogs& dialogs,
                                        Progress& progress)
{
    MdbMigrationReport report;
    if (openConnectionCount(targetPath) > 0) {
        dialogs.inform(kDatabaseInUseText);
        report.status = DbResult::failure(DbError::InUse, kDatabaseInUseText);
        return report;
    }
    const Fetched<bool> hasData = databaseHoldsData(targetPath);
    if (!hasData.ok()) {
        dialogs.inform(hasData.status.description, kImportTitle, Dialogs::Icon::Critical);
        report.status = hasData.status;
        return report;
    }
    bool replace = false;
    if (hasData.value) {
        const Dialogs::Answer answer = dialogs.message(
            {QStringLiteral("The database already holds clubs, flyers, birds or liberation points.\r\n\r\n"
                            "Replace ALL of them with the data of '%1'?")
                 .arg(QFileInfo(mdbPath).fileName()),
             kImportTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::Answer::No});
        if (answer != Dialogs::Answer::Yes) {
            report.refused = true;
            return report;
        }
        replace = true;
    }
    report = migrateMdb(mdbPath, targetPath, replace, &progress);
    const bool good = report.ok() && report.check.ok();
    dialogs.inform(report.summary().join(QStringLiteral("\r\n")), kImportTitle,
                   good ? Dialogs::Icon::Information : Dialogs::Icon::Critical);
    return report;
}
