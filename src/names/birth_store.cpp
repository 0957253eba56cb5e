#include "names/birth_store.h"

#include "names/origin_store.h"
#include "platform/database.h"

namespace names {

namespace {

bool hasDistributionTables(platform::Database& database) {
    return database
               .firstValue(
                   "select count(*) from sqlite_master where type = 'table' and"
                   " name in ('origin_births', 'origin_weighted_name')")
               .toInt() == 2;
}

}  // namespace

QByteArray storedBirthBytes(platform::Database& database, const QString& tag) {
    if (!hasDistributionTables(database)) return {};
    platform::Query row =
        database.query("select births from origin_births where origin = ?", {tag});
    return row.next() ? row.bytes(0) : QByteArray();
}

void loadDistributions(platform::Database& database, OriginEntry& entry) {
    loadWeightedLists(database, entry);
    entry.birthsByDecade = storedBirthBytes(database, entry.origin.tag);
}

void loadWeightedLists(platform::Database& database, OriginEntry& entry) {
    entry.weightedLists = {};
    if (!hasDistributionTables(database)) return;
    platform::Query rows = database.query(
        "select list, name, weight from origin_weighted_name where origin = ? order by id",
        {entry.origin.tag});
    while (rows.next()) {
        const QString word = rows.text(0);
        for (OriginList list : kOriginLists)
            if (word == QLatin1String(listWord(list)))
                entry.weightedLists[static_cast<std::size_t>(list)].append(
                    {rows.text(1), rows.text(2).toDouble()});
    }
}

BirthTable storedBirths(platform::Database& database, const QString& tag) {
    const QByteArray bytes = storedBirthBytes(database, tag);
    if (bytes.isEmpty()) return {};
    return readBirthTable(bytes, tag + QStringLiteral(" births by decade"));
}

QMap<QString, OriginFrequencies> storedFrequencies(platform::Database& database) {
    QMap<QString, OriginFrequencies> frequencies;
    for (const OriginRecord& origin : storedOrigins(database)) frequencies[origin.tag] = {};
    if (frequencies.isEmpty()) return frequencies;
    platform::Query weighted =
        database.query("select distinct origin from origin_name where weight > 0");
    while (weighted.next()) frequencies[weighted.text(0)].frequencies = true;
    if (!hasDistributionTables(database)) return frequencies;
    platform::Query born = database.query("select origin from origin_births");
    while (born.next()) frequencies[born.text(0)] = {true, true};
    return frequencies;
}

}  // namespace names
