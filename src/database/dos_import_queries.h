#pragma once

// The two statements the import runs once per bird, prepared once per import: a full administration file
// holds up to 999 x 500 birds, and preparing each statement anew costs more than running it.

#include "database/database.h"
#include "database/schema.h"

#include <QSqlQuery>
#include <optional>

class ImportQueries {
public:
    explicit ImportQueries(Database& database) : m_database(database) {}

    // Whether any bird of any flyer has this band identity (compared as the database compares texts).
    // Empty on a database failure, described in lastError().
    std::optional<bool> bandExists(const QString& band);
    // Stores the bird; false on a database failure.
    bool addBird(const Bird& bird);

    QString lastError() const { return m_lastError; }

private:
    bool prepare(std::optional<QSqlQuery>& query, const QString& sql);
    bool fail(const QSqlQuery& query);

    Database& m_database;
    std::optional<QSqlQuery> m_band;
    std::optional<QSqlQuery> m_insert;
    QString m_lastError;
};
