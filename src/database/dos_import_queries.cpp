#include "database/dos_import_queries.h"

#include <QSqlError>
#include <QVariant>

namespace {

// The tables hold empty texts, never NULL.
QVariant textValue(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

bool ImportQueries::prepare(std::optional<QSqlQuery>& query, const QString& sql)
{
    if (query)
        return true;
    if (!m_database.isOpen()) {
        m_lastError = QStringLiteral("The database is not open.");
        return false;
    }
    query.emplace(m_database.connection());
    query->setForwardOnly(true);
    if (query->prepare(sql))
        return true;
    m_lastError = query->lastError().text();
    query.reset();
    return false;
}

bool ImportQueries::fail(const QSqlQuery& query)
{
    m_lastError = query.lastError().text();
    return false;
}

std::optional<bool> ImportQueries::bandExists(const QString& band)
{
    if (!prepare(m_band,
                 QStringLiteral("SELECT 1 FROM birds WHERE bnumber = ? AND clubletters = ? AND NatOrg = ? "
                                "AND HatchYr = ?")))
        return std::nullopt;
    const BandParts parts = splitBand(band);
    m_band->bindValue(0, textValue(parts.bnumber));
    m_band->bindValue(1, textValue(parts.clubletters));
    m_band->bindValue(2, textValue(parts.NatOrg));
    m_band->bindValue(3, textValue(parts.HatchYr));
    if (!m_band->exec()) {
        fail(*m_band);
        return std::nullopt;
    }
    const bool found = m_band->next();
    m_band->finish();
    return found;
}

bool ImportQueries::addBird(const Bird& bird)
{
    if (!prepare(m_insert,
                 QStringLiteral("INSERT INTO birds (BirdFlyerID, NatOrg, HatchYr, clubletters, bnumber, "
                                "sex, elecnumber, color, type) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return false;
    m_insert->bindValue(0, bird.BirdFlyerID);
    m_insert->bindValue(1, textValue(bird.NatOrg));
    m_insert->bindValue(2, textValue(bird.HatchYr));
    m_insert->bindValue(3, textValue(bird.clubletters));
    m_insert->bindValue(4, textValue(bird.bnumber));
    m_insert->bindValue(5, textValue(bird.sex));
    m_insert->bindValue(6, textValue(bird.elecnumber));
    m_insert->bindValue(7, textValue(bird.color));
    m_insert->bindValue(8, textValue(bird.type));
    if (!m_insert->exec())
        return fail(*m_insert);
    m_insert->finish();
    return true;
}
