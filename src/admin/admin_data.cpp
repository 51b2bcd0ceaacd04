#include "admin/admin_data.h"

#include "common/pad_field.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <functional>

namespace {

const QString kClubColumns = QStringLiteral("ClubID, ClubName");
const QString kFlyerColumns =
    QStringLiteral("FlyerID, ClubID, Name, Address, CityStateZip, email, Phone, Longitude, Latitude");
const QString kBirdFields =
    QStringLiteral("BirdFlyerID, NatOrg, HatchYr, clubletters, bnumber, sex, elecnumber, color, type");
const QString kOrteFields =
    QStringLiteral("racenum, racedate, racename, racetype, latitude, longitude, libtime, night");

QString birdColumns()
{
    return kRowIdColumn + QStringLiteral(", ") + kBirdFields;
}

QString orteColumns()
{
    return kRowIdColumn + QStringLiteral(", ") + kOrteFields;
}

// Matches on the four parts of the band identity: the parts are the index's columns.
const QString kBandCondition =
    QStringLiteral("bnumber = ? AND clubletters = ? AND NatOrg = ? AND HatchYr = ?");

QVariantList bandValues(const QString& band)
{
    const BandParts parts = splitBand(band);
    return {parts.bnumber, parts.clubletters, parts.NatOrg, parts.HatchYr};
}

// The typed text taken literally, followed by "anything".
QString prefixPattern(const QString& text)
{
    QString pattern;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'%';
}

// A text field that holds NULL reads as empty.
QString text(const QSqlQuery& query, int column)
{
    const QVariant value = query.value(column);
    return value.isNull() ? QString() : value.toString();
}

Club readClub(const QSqlQuery& q)
{
    return {q.value(0).toInt(), text(q, 1)};
}

Flyer readFlyer(const QSqlQuery& q)
{
    return {q.value(0).toInt(), q.value(1).toInt(), text(q, 2), text(q, 3), text(q, 4),
            text(q, 5),         text(q, 6),         text(q, 7), text(q, 8)};
}

Bird readBird(const QSqlQuery& q)
{
    return {q.value(0).toLongLong(),
            q.value(1).toInt(),
            text(q, 2),
            text(q, 3),
            text(q, 4),
            text(q, 5),
            text(q, 6),
            text(q, 7),
            text(q, 8),
            text(q, 9)};
}

LiberationPoint readPoint(const QSqlQuery& q)
{
    LiberationPoint point;
    point.rowId = q.value(0).toLongLong();
    for (auto [column, field] : {std::pair{1, &point.racenum},
                                 {2, &point.racedate},
                                 {3, &point.racename},
                                 {4, &point.racetype},
                                 {5, &point.latitude},
                                 {6, &point.longitude},
                                 {7, &point.liberationTime},
                                 {8, &point.night}})
        *field = text(q, column);
    return point;
}

DbResult notOpen()
{
    return DbResult::failure(DbError::General, QStringLiteral("The database is not open."));
}

// Prepares and runs one statement with its values bound in order.
DbResult execute(Database& database, QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (!database.isOpen())
        return notOpen();
    query = QSqlQuery(database.connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return DbResult::fromSqlError(query.lastError());
    for (const QVariant& value : values) {
        // Qt binds a null QString as NULL; the tables hold empty texts instead.
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.addBindValue(nullText ? QVariant(QStringLiteral("")) : value);
    }
    if (!query.exec())
        return DbResult::fromSqlError(query.lastError());
    return {};
}

template <typename Row>
Fetched<std::vector<Row>> fetchAll(Database& database, const QString& sql, const QVariantList& values,
                                   Row (*read)(const QSqlQuery&))
{
    Fetched<std::vector<Row>> result;
    QSqlQuery query;
    result.status = execute(database, query, sql, values);
    while (result.ok() && query.next())
        result.value.push_back(read(query));
    if (result.ok() && query.lastError().isValid())
        result.status = DbResult::fromSqlError(query.lastError());
    return result;
}

template <typename Row>
Fetched<std::optional<Row>> fetchFirst(Database& database, const QString& sql, const QVariantList& values,
                                       Row (*read)(const QSqlQuery&))
{
    Fetched<std::optional<Row>> result;
    QSqlQuery query;
    result.status = execute(database, query, sql, values);
    if (result.ok() && query.next())
        result.value = read(query);
    else if (result.ok() && query.lastError().isValid())
        result.status = DbResult::fromSqlError(query.lastError());
    return result;
}

QString firstText(const QSqlQuery& q)
{
    return text(q, 0);
}

int firstInt(const QSqlQuery& q)
{
    return q.value(0).toInt();
}

Fetched<int> count(Database& database, const QString& table)
{
    const auto row = fetchFirst<int>(database, QStringLiteral("SELECT COUNT(*) FROM ") + table, {}, firstInt);
    return {row.value.value_or(0), row.status};
}

// A statement that changes rows; gives the number of rows it changed.
Fetched<int> change(Database& database, const QString& sql, const QVariantList& values)
{
    Fetched<int> changed;
    changed.status = database.writing([&]() {
        QSqlQuery query;
        const DbResult status = execute(database, query, sql, values);
        changed.value = status.ok() ? query.numRowsAffected() : 0;
        return status;
    });
    return changed;
}

Fetched<qint64> insert(Database& database, const QString& sql, const QVariantList& values)
{
    Fetched<qint64> inserted;
    inserted.status = database.writing([&]() {
        QSqlQuery query;
        const DbResult status = execute(database, query, sql, values);
        inserted.value = status.ok() ? query.lastInsertId().toLongLong() : 0;
        return status;
    });
    return inserted;
}

DbResult changeOne(Database& database, const QString& sql, const QVariantList& values)
{
    const Fetched<int> changed = change(database, sql, values);
    if (changed.ok() && changed.value == 0)
        return DbResult::failure(DbError::NoCurrentRecord, QStringLiteral("No current record."));
    return changed.status;
}

QVariantList birdValues(const Bird& bird)
{
    return {bird.BirdFlyerID, bird.NatOrg,     bird.HatchYr, bird.clubletters, bird.bnumber,
            bird.sex,         bird.elecnumber, bird.color,   bird.type};
}

QVariantList pointValues(const LiberationPoint& point)
{
    return {point.racenum,  point.racedate,  point.racename,       point.racetype,
            point.latitude, point.longitude, point.liberationTime, point.night};
}

QString insertBirdSql()
{
    return QStringLiteral("INSERT INTO birds (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(kBirdFields);
}

} // namespace

// --- clubs

Fetched<std::vector<Club>> AdminData::searchClubs(const QString& text) const
{
    if (text.isEmpty())
        return fetchAll<Club>(m_db, QStringLiteral("SELECT %1 FROM clubs ORDER BY ClubID").arg(kClubColumns),
                              {}, readClub);
    return fetchAll<Club>(
        m_db,
        QStringLiteral("SELECT %1 FROM clubs WHERE ClubName LIKE ? ESCAPE '\\' ORDER BY ClubID")
            .arg(kClubColumns),
        {prefixPattern(text)}, readClub);
}

Fetched<int> AdminData::countClubs() const
{
    return count(m_db, QStringLiteral("clubs"));
}

Fetched<std::optional<Club>> AdminData::clubByName(const QString& name) const
{
    return fetchFirst<Club>(
        m_db, QStringLiteral("SELECT %1 FROM clubs WHERE ClubName = ? ORDER BY ClubID").arg(kClubColumns),
        {name}, readClub);
}

Fetched<std::optional<QString>> AdminData::clubName(int clubId) const
{
    return fetchFirst<QString>(m_db, QStringLiteral("SELECT ClubName FROM clubs WHERE ClubID = ?"), {clubId},
                               firstText);
}

Fetched<int> AdminData::addClub(const QString& name) const
{
    const Fetched<qint64> added =
        insert(m_db, QStringLiteral("INSERT INTO clubs (ClubName) VALUES (?)"), {name});
    return {static_cast<int>(added.value), added.status};
}

DbResult AdminData::renameClub(int clubId, const QString& name) const
{
    return changeOne(m_db, QStringLiteral("UPDATE clubs SET ClubName = ? WHERE ClubID = ?"), {name, clubId});
}

DbResult AdminData::renumberClub(int clubId, int newClubId) const
{
    return changeOne(m_db, QStringLiteral("UPDATE clubs SET ClubID = ? WHERE ClubID = ?"),
                     {newClubId, clubId});
}

// --- flyers

Fetched<std::vector<Flyer>> AdminData::searchFlyers(const QString& text) const
{
    if (text.isEmpty())
        return fetchAll<Flyer>(m_db,
                               QStringLiteral("SELECT %1 FROM flyerlist ORDER BY FlyerID").arg(kFlyerColumns),
                               {}, readFlyer);
    return fetchAll<Flyer>(
        m_db,
        QStringLiteral("SELECT %1 FROM flyerlist WHERE Name LIKE ? ESCAPE '\\' ORDER BY FlyerID")
            .arg(kFlyerColumns),
        {prefixPattern(text)}, readFlyer);
}

Fetched<std::optional<Flyer>> AdminData::flyerByName(const QString& name) const
{
    return fetchFirst<Flyer>(
        m_db, QStringLiteral("SELECT %1 FROM flyerlist WHERE Name = ? ORDER BY FlyerID").arg(kFlyerColumns),
        {name}, readFlyer);
}

Fetched<std::optional<QString>> AdminData::flyerNameById(int flyerId) const
{
    return fetchFirst<QString>(m_db, QStringLiteral("SELECT Name FROM flyerlist WHERE FlyerID = ?"),
                               {flyerId}, firstText);
}

Fetched<std::optional<QString>> AdminData::flyerNameByClubAndId(int clubId, int flyerId) const
{
    return fetchFirst<QString>(m_db,
                               QStringLiteral("SELECT Name FROM flyerlist WHERE ClubID = ? AND FlyerID = ?"),
                               {clubId, flyerId}, firstText);
}

Fetched<std::optional<Flyer>> AdminData::flyerByClubAndId(int clubId, int flyerId) const
{
    return fetchFirst<Flyer>(
        m_db, QStringLiteral("SELECT %1 FROM flyerlist WHERE ClubID = ? AND FlyerID = ?").arg(kFlyerColumns),
        {clubId, flyerId}, readFlyer);
}

Fetched<int> AdminData::addFlyer(const Flyer& flyer) const
{
    const Fetched<qint64> added =
        insert(m_db,
               QStringLiteral("INSERT INTO flyerlist (ClubID, Name, Address, CityStateZip, email, Phone, "
                              "Longitude, Latitude) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               {flyer.ClubID, flyer.Name, flyer.Address, flyer.CityStateZip, flyer.email, flyer.Phone,
                flyer.Longitude, flyer.Latitude});
    return {static_cast<int>(added.value), added.status};
}

Fetched<int> AdminData::addImportedFlyer(int clubId, const QString& name, const QString& longitude,
                                         const QString& latitude) const
{
    const QString empty = QStringLiteral("Empty");
    return addFlyer({0, clubId, name, empty, empty, empty, empty, longitude, latitude});
}

DbResult AdminData::updateFlyer(const Flyer& flyer) const
{
    return changeOne(
        m_db,
        QStringLiteral("UPDATE flyerlist SET ClubID = ?, Name = ?, Address = ?, CityStateZip = ?, "
                       "email = ?, Phone = ?, Longitude = ?, Latitude = ? WHERE FlyerID = ?"),
        {flyer.ClubID, flyer.Name, flyer.Address, flyer.CityStateZip, flyer.email, flyer.Phone,
         flyer.Longitude, flyer.Latitude, flyer.FlyerID});
}

DbResult AdminData::renumberFlyer(int flyerId, int newFlyerId) const
{
    return changeOne(m_db, QStringLiteral("UPDATE flyerlist SET FlyerID = ? WHERE FlyerID = ?"),
                     {newFlyerId, flyerId});
}

Fetched<int> AdminData::eraseFlyer(int flyerId) const
{
    int removed = 0;
    const DbResult status = m_db.inTransaction([&]() {
        const Fetched<int> birds =
            change(m_db, QStringLiteral("DELETE FROM birds WHERE BirdFlyerID = ?"), {flyerId});
        if (!birds.ok())
            return birds.status;
        const DbResult flyer =
            changeOne(m_db, QStringLiteral("DELETE FROM flyerlist WHERE FlyerID = ?"), {flyerId});
        removed = birds.value + 1;
        return flyer;
    });
    return {status.ok() ? removed : 0, status};
}

// --- birds

Fetched<std::vector<Bird>> AdminData::birdsOfFlyer(int flyerId) const
{
    return fetchAll<Bird>(m_db,
                          QStringLiteral("SELECT %1 FROM birds WHERE BirdFlyerID = ? ORDER BY %2")
                              .arg(birdColumns(), kRowIdColumn),
                          {flyerId}, readBird);
}

Fetched<std::vector<Bird>> AdminData::birdsOfFlyerListed(int flyerId) const
{
    return fetchAll<Bird>(
        m_db,
        QStringLiteral("SELECT %1 FROM birds WHERE BirdFlyerID = ? ORDER BY SUBSTR(bnumber, 3, 4), %2")
            .arg(birdColumns(), kRowIdColumn),
        {flyerId}, readBird);
}

Fetched<std::optional<Bird>> AdminData::birdOfFlyer(int flyerId, const QString& band) const
{
    QVariantList values = bandValues(band);
    values.prepend(flyerId);
    return fetchFirst<Bird>(m_db,
                            QStringLiteral("SELECT %1 FROM birds WHERE BirdFlyerID = ? AND %2 ORDER BY %3")
                                .arg(birdColumns(), kBandCondition, kRowIdColumn),
                            values, readBird);
}

Fetched<std::vector<Bird>> AdminData::birdsByBand(const QString& band) const
{
    return fetchAll<Bird>(m_db,
                          QStringLiteral("SELECT %1 FROM birds WHERE %2 ORDER BY %3")
                              .arg(birdColumns(), kBandCondition, kRowIdColumn),
                          bandValues(band), readBird);
}

Fetched<bool> AdminData::bandExists(const QString& band) const
{
    const auto found = fetchFirst<int>(
        m_db, QStringLiteral("SELECT 1 FROM birds WHERE %1").arg(kBandCondition), bandValues(band), firstInt);
    return {found.value.has_value(), found.status};
}

Fetched<std::vector<Bird>> AdminData::birdsByElecnumber(const QString& elecnumber) const
{
    return fetchAll<Bird>(m_db,
                          QStringLiteral("SELECT %1 FROM birds WHERE elecnumber = ? ORDER BY %2")
                              .arg(birdColumns(), kRowIdColumn),
                          {elecnumber}, readBird);
}

Fetched<std::optional<QString>> AdminData::birdColour(const QString& clubletters,
                                                      const QString& bnumber) const
{
    return fetchFirst<QString>(m_db,
                               QStringLiteral("SELECT color FROM birds WHERE bnumber = ? AND clubletters = ? "
                                              "ORDER BY %1")
                                   .arg(kRowIdColumn),
                               {bnumber, clubletters}, firstText);
}

Fetched<std::optional<int>> AdminData::birdFlyerId(const QString& clubletters, const QString& bnumber) const
{
    return fetchFirst<int>(
        m_db,
        QStringLiteral("SELECT BirdFlyerID FROM birds WHERE bnumber = ? AND clubletters = ? "
                       "ORDER BY %1")
            .arg(kRowIdColumn),
        {bnumber, clubletters}, firstInt);
}

Fetched<std::vector<BandParts>> AdminData::bandsWithNumbers(const QStringList& bnumbers) const
{
    // Binding costs grow faster than the count of values: a hundred per statement is the quickest. The
    // band index answers alone. One statement serves every full hundred, parsed once.
    constexpr qsizetype batch = 100;
    Fetched<std::vector<BandParts>> bands;
    if (bnumbers.isEmpty())
        return bands;
    if (!m_db.isOpen()) {
        bands.status = notOpen();
        return bands;
    }
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    qsizetype prepared = 0;
    for (qsizetype from = 0; from < bnumbers.size(); from += batch) {
        const QStringList part = bnumbers.mid(from, batch);
        if (part.size() != prepared) {
            prepared = part.size();
            if (!query.prepare(
                    QStringLiteral(
                        "SELECT NatOrg, HatchYr, clubletters, bnumber FROM birds WHERE bnumber IN (?%1)")
                        .arg(QStringLiteral(", ?").repeated(part.size() - 1))))
                break;
        }
        // As execute() binds: an empty text, never NULL.
        for (qsizetype i = 0; i < part.size(); ++i)
            query.bindValue(int(i), part[i].isNull() ? QStringLiteral("") : part[i]);
        if (!query.exec())
            break;
        while (query.next())
            bands.value.push_back({text(query, 0), text(query, 1), text(query, 2), text(query, 3)});
        if (query.lastError().isValid())
            break;
    }
    if (query.lastError().isValid())
        bands.status = DbResult::fromSqlError(query.lastError());
    return bands;
}

Fetched<qint64> AdminData::addBird(const Bird& bird) const
{
    return insert(m_db, insertBirdSql(), birdValues(bird));
}

Fetched<qint64> AdminData::replaceBird(qint64 rowId, const Bird& bird) const
{
    qint64 added = 0;
    const DbResult status = m_db.inTransaction([&]() {
        const DbResult removed = deleteBird(rowId);
        if (!removed.ok())
            return removed;
        const Fetched<qint64> stored = addBird(bird);
        added = stored.value;
        return stored.status;
    });
    return {status.ok() ? added : 0, status};
}

DbResult AdminData::setElecnumber(qint64 rowId, const QString& elecnumber) const
{
    return changeOne(m_db, QStringLiteral("UPDATE birds SET elecnumber = ? WHERE %1 = ?").arg(kRowIdColumn),
                     {elecnumber, rowId});
}

DbResult AdminData::deleteBird(qint64 rowId) const
{
    return changeOne(m_db, QStringLiteral("DELETE FROM birds WHERE %1 = ?").arg(kRowIdColumn), {rowId});
}

Fetched<int> AdminData::InsertNewData(const QString& s3Record, const QStringList& zRecords) const
{
    int added = 0;
    // The flyer is looked up in the transaction that stores the birds: another window may erase it.
    const DbResult status = m_db.inTransaction([&]() {
        const Fetched<std::optional<Flyer>> flyer = flyerByName(Mid(s3Record, 13, 20));
        if (!flyer.ok())
            return flyer.status;
        if (!flyer.value)
            return DbResult::failure(DbError::NoCurrentRecord, QStringLiteral("No current record."));
        for (const QString& z : zRecords) {
            const Bird bird{0,
                            flyer.value->FlyerID,
                            Mid(z, 2, 2),
                            Mid(z, 4, 2),
                            Mid(z, 6, 4),
                            Mid(z, 10, 6),
                            Mid(z, 16, 1),
                            Mid(z, 17, 10),
                            kDefaultColour,
                            Mid(z, 27, 1)};
            const Fetched<qint64> stored = addBird(bird);
            if (!stored.ok())
                return stored.status;
            ++added;
        }
        return DbResult{};
    });
    return {status.ok() ? added : 0, status};
}

// --- liberation points

Fetched<std::vector<LiberationPoint>> AdminData::liberationPoints() const
{
    return fetchAll<LiberationPoint>(
        m_db, QStringLiteral("SELECT %1 FROM orte ORDER BY %2").arg(orteColumns(), kRowIdColumn), {},
        readPoint);
}

Fetched<int> AdminData::countLiberationPoints() const
{
    return count(m_db, QStringLiteral("orte"));
}

Fetched<std::optional<LiberationPoint>> AdminData::liberationPoint(const QString& racename,
                                                                   const QString& racenum) const
{
    return fetchFirst<LiberationPoint>(
        m_db,
        QStringLiteral("SELECT %1 FROM orte WHERE racename = ? AND racenum = ? "
                       "ORDER BY %2")
            .arg(orteColumns(), kRowIdColumn),
        {racename, racenum}, readPoint);
}

Fetched<std::optional<LiberationPoint>> AdminData::liberationPointOfRace(const QString& racenum,
                                                                         const QString& racedate) const
{
    return fetchFirst<LiberationPoint>(
        m_db,
        QStringLiteral("SELECT %1 FROM orte WHERE racenum = ? AND racedate = ? ORDER BY %2")
            .arg(orteColumns(), kRowIdColumn),
        {racenum, racedate}, readPoint);
}

Fetched<qint64> AdminData::addLiberationPoint(const LiberationPoint& point) const
{
    return insert(m_db,
                  QStringLiteral("INSERT INTO orte (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?)").arg(kOrteFields),
                  pointValues(point));
}

DbResult AdminData::updateLiberationPoint(qint64 rowId, const LiberationPoint& point) const
{
    return changeOne(m_db,
                     QStringLiteral("UPDATE orte SET racenum = ?, racedate = ?, racename = ?, racetype = ?, "
                                    "latitude = ?, longitude = ?, libtime = ?, night = ? WHERE %1 = ?")
                         .arg(kRowIdColumn),
                     pointValues(point) << rowId);
}

DbResult AdminData::deleteLiberationPoint(qint64 rowId) const
{
    return changeOne(m_db, QStringLiteral("DELETE FROM orte WHERE %1 = ?").arg(kRowIdColumn), {rowId});
}
