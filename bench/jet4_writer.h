#pragma once

// Writes minimal Access 2000 (Jet 4) files for the benchmark (and once made the tests' fixture files): tables
// of long, short and text columns with their rows, a catalog that names them, and nothing else (no indexes,
// no memo pages). Layout: page 0 header, page 1 the catalog's maps, page 2 the catalog (MSysObjects), page 3
// its rows, then per table its definition page, its map page and its data pages.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <map>
#include <vector>

namespace jet4 {

constexpr int kPageSize = 4096;

enum ColumnType : uint8_t { Short = 0x03, Long = 0x04, Text = 0x0A, Ole = 0x0B };

struct Column {
    QString name;
    ColumnType type = Text;
    bool counter = false;
};

// A null QVariant is a Null; numbers for Short and Long columns, QString for Text.
using Row = std::vector<QVariant>;

struct Table {
    QString name;
    std::vector<Column> columns;
    std::vector<Row> rows;
};

// An empty table of the old program's Access database: "clubs", "flyerlist", "birds" or "orte", its number
// columns first, then its text columns.
inline Table accessTable(const QString& name)
{
    static const std::map<QString, std::pair<std::vector<Column>, QStringList>> shapes = {
        {"clubs", {{{"ClubID", Long, true}}, {"ClubName"}}},
        {"flyerlist",
         {{{"FlyerID", Long, true}, {"ClubID", Long}},
          {"Name", "Address", "CityStateZip", "email", "Phone", "Longitude", "Latitude"}}},
        {"birds",
         {{{"BirdFlyerID", Long}},
          {"NatOrg", "HatchYr", "clubletters", "bnumber", "sex", "elecnumber", "color", "type"}}},
        {"orte", {{}, {"racenum", "racedate", "racename", "racetype"}}},
    };
    const auto& [numbers, texts] = shapes.at(name);
    Table table{name, numbers, {}};
    for (const QString& text : texts)
        table.columns.push_back({text, Text});
    return table;
}

struct Options {
    // Stored masked in the header, as Access keeps the database password; readers need not know it.
    QString password;
};

struct Written {
    QByteArray file;
    // Data pages of each table, by table name.
    std::map<QString, std::vector<int>> dataPages;
};

namespace detail {

inline void put16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
inline void put32(QByteArray& b, int at, qint64 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}
inline void append16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
inline QByteArray ucs2(const QString& s)
{
    QByteArray out;
    for (QChar c : s)
        append16(out, c.unicode());
    return out;
}

inline void rc4(QByteArray& data, int from, int length, const QByteArray& key)
{
    uint8_t s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + uint8_t(key[i % key.size()])) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[from + n] = char(uint8_t(data[from + n]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

inline int fixedSize(const Column& c)
{
    return c.type == Short ? 2 : 4;
}
inline bool isFixed(const Column& c)
{
    return c.type == Short || c.type == Long;
}

// One row in the Jet 4 layout: column count, fixed part, variable part, then backwards from the end the
// null mask, the variable column count and the variable offsets (last first, preceded by the end offset).
inline QByteArray encodeRow(const Table& t, const Row& row)
{
    const int n = int(t.columns.size());
    QByteArray out;
    append16(out, n);
    QByteArray nulls((n + 7) / 8, '\0');
    for (int i = 0; i < n; ++i) {
        const Column& c = t.columns[size_t(i)];
        if (!isFixed(c))
            continue;
        const QVariant v = i < int(row.size()) ? row[size_t(i)] : QVariant();
        const qint64 value = v.isNull() ? 0 : v.toLongLong();
        for (int k = 0; k < fixedSize(c); ++k)
            out.append(char((value >> (8 * k)) & 0xFF));
        if (!v.isNull())
            nulls[i / 8] = char(nulls[i / 8] | (1 << (i % 8)));
    }
    std::vector<int> offsets;
    for (int i = 0; i < n; ++i) {
        const Column& c = t.columns[size_t(i)];
        if (isFixed(c))
            continue;
        offsets.push_back(int(out.size()));
        const QVariant v = i < int(row.size()) ? row[size_t(i)] : QVariant();
        if (!v.isNull()) {
            out.append(ucs2(v.toString()));
            nulls[i / 8] = char(nulls[i / 8] | (1 << (i % 8)));
        }
    }
    append16(out, int(out.size())); // end of the data
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it)
        append16(out, *it);
    append16(out, int(offsets.size()));
    out.append(nulls);
    return out;
}

inline QByteArray dataPage(int tdefPage, const std::vector<QByteArray>& rows)
{
    QByteArray page(kPageSize, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    put32(page, 4, tdefPage);
    put16(page, 12, int(rows.size()));
    int end = kPageSize;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int start = end - int(rows[r].size());
        page.replace(start, rows[r].size(), rows[r]);
        put16(page, 14 + 2 * int(r), start);
        end = start;
    }
    put16(page, 2, end - (14 + 2 * int(rows.size())));
    return page;
}

// An inline usage map: type 0, first page, one bit per page from there.
inline QByteArray usageMap(const std::vector<int>& pages)
{
    QByteArray map(5, '\0');
    const int first = pages.empty() ? 0 : pages.front();
    put32(map, 1, first);
    for (int p : pages) {
        const int bit = p - first;
        if (map.size() < 5 + bit / 8 + 1)
            map.append(QByteArray(5 + bit / 8 + 1 - map.size(), '\0'));
        map[5 + bit / 8] = char(map[5 + bit / 8] | (1 << (bit % 8)));
    }
    return map;
}

inline QByteArray tableDefinition(const Table& t, bool system, qint64 nextCounter, int mapPage)
{
    QByteArray page(kPageSize, '\0');
    page[0] = 0x02;
    page[1] = 0x01;
    put32(page, 0x10, qint64(t.rows.size()));
    put32(page, 0x14, nextCounter);
    page[0x28] = system ? 0x53 : 0x4E;
    int varCount = 0;
    for (const Column& c : t.columns)
        varCount += isFixed(c) ? 0 : 1;
    put16(page, 0x29, int(t.columns.size()));
    put16(page, 0x2B, varCount);
    put16(page, 0x2D, int(t.columns.size()));
    put32(page, 0x37, (qint64(mapPage) << 8) | 0); // used pages: row 0 of the map page
    put32(page, 0x3B, (qint64(mapPage) << 8) | 1); // free pages: row 1
    int at = 0x3F;
    int fixedOffset = 0;
    int varIndex = 0;
    for (size_t i = 0; i < t.columns.size(); ++i) {
        const Column& c = t.columns[i];
        page[at] = char(c.type);
        put16(page, at + 5, int(i));
        put16(page, at + 9, int(i));
        if (isFixed(c)) {
            page[at + 15] = char(0x01 | (c.counter ? 0x04 : 0x02));
            put16(page, at + 21, fixedOffset);
            put16(page, at + 23, fixedSize(c));
            fixedOffset += fixedSize(c);
        } else {
            put16(page, at + 7, varIndex++);
            put16(page, at + 11, 0x0409); // general sort order
            page[at + 15] = 0x02;
            put16(page, at + 23, c.type == Text ? 510 : 0);
        }
        at += 25;
    }
    for (const Column& c : t.columns) {
        const QByteArray name = ucs2(c.name);
        put16(page, at, int(name.size()));
        page.replace(at + 2, name.size(), name);
        at += 2 + int(name.size());
    }
    put32(page, 0x08, at - 8);
    return page;
}

} // namespace detail

inline Written write(const std::vector<Table>& tables, const Options& options = {})
{
    using namespace detail;
    std::vector<QByteArray> pages(4);
    Written written;

    Table catalog;
    catalog.name = "MSysObjects";
    catalog.columns = {{"Id", Long, false},    {"ParentId", Long, false}, {"Name", Text, false},
                       {"Type", Short, false}, {"Flags", Long, false},    {"LvProp", Ole, false}};
    catalog.rows.push_back({2, QVariant(), "MSysObjects", 1, qint64(0x80000002), QVariant()});

    for (const Table& t : tables) {
        const int tdef = int(pages.size());
        const int mapPage = tdef + 1;
        pages.resize(pages.size() + 2);
        std::vector<int> data;
        std::vector<QByteArray> pending;
        int used = 14;
        const auto flush = [&] {
            if (pending.empty())
                return;
            data.push_back(int(pages.size()));
            pages.push_back(dataPage(tdef, pending));
            pending.clear();
            used = 14;
        };
        qint64 nextCounter = 1;
        for (const Row& r : t.rows) {
            const QByteArray row = encodeRow(t, r);
            if (used + row.size() + 2 > kPageSize)
                flush();
            pending.push_back(row);
            used += int(row.size()) + 2;
            for (size_t i = 0; i < t.columns.size() && i < r.size(); ++i) {
                if (t.columns[i].counter && !r[i].isNull())
                    nextCounter = std::max(nextCounter, r[i].toLongLong() + 1);
            }
        }
        flush();
        pages[size_t(tdef)] = tableDefinition(t, false, nextCounter, mapPage);
        pages[size_t(mapPage)] = dataPage(tdef, {usageMap(data), usageMap({})});
        written.dataPages[t.name] = data;
        catalog.rows.push_back({tdef, QVariant(), t.name, 1, 0, QVariant()});
    }

    pages[1] = dataPage(2, {usageMap({3}), usageMap({})});
    pages[2] = tableDefinition(catalog, true, 0, 1);
    std::vector<QByteArray> catalogRows; // one page is room for every table the tests use
    for (const Row& r : catalog.rows)
        catalogRows.push_back(encodeRow(catalog, r));
    pages[3] = dataPage(2, catalogRows);
    QByteArray header(kPageSize, '\0');
    header[1] = 0x01;
    header.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
    put32(header, 0x14, 1);
    put16(header, 0x3C, 1252);
    put16(header, 0x56, 0x0409);
    const QByteArray password = ucs2(options.password.left(20));
    header.replace(0x42, password.size(), password);
    rc4(header, 0x18, 128, QByteArray("\xC7\xDA\x39\x6B", 4));
    pages[0] = header;

    for (const QByteArray& page : pages)
        written.file.append(page);
    return written;
}

} // namespace jet4
