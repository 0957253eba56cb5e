#include "names/origin_store.h"

#include <algorithm>
#include <limits>
#include <optional>

#include <QSet>

#include "names/origin_data.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace names {

namespace {

OriginList listOf(const QString& word) {
    for (OriginList list : kOriginLists)
        if (word == QLatin1String(listWord(list))) return list;
    throw platform::Failure(QStringLiteral("unknown name list ") + word);
}

// Letter case folded, for comparing names as the tables' nocase columns do.
QString folded(const QString& name) {
    return name.toCaseFolded();
}

QSet<QString> foldedSet(const QStringList& names) {
    QSet<QString> set;
    set.reserve(names.size());
    for (const QString& name : names) set.insert(folded(name));
    return set;
}

void removeAll(QStringList& names, const QString& name) {
    const QString gone = folded(name);
    names.removeIf([&](const QString& entry) { return folded(entry) == gone; });
}

// A row of tag, name, scripts, name_order, separator, sources.
OriginRecord recordOf(const platform::Query& row) {
    return {row.text(0),
            row.text(1),
            row.text(2),
            row.text(3) == QLatin1String(kFamilyFirst),
            row.text(4) != QLatin1String(kNothingBetween),
            row.text(5)};
}

// The stored lists of one origin, without the user's changes.
OriginEntry storedEntry(platform::Database& database, const QString& tag) {
    OriginEntry entry{storedOrigin(database, tag)};
    platform::Query rows = database.query(
        "select list, name, coalesce(weight, 0) from origin_name where origin = ? order by id",
        {tag});
    while (rows.next()) entry[listOf(rows.text(0))].append({rows.text(1), rows.text(2).toDouble()});
    return entry;
}

OriginTables tablesOf(const OriginEntry& entry) {
    return {maleTableNames(entry), femaleTableNames(entry), lastTableNames(entry)};
}

void applyEdits(platform::Database& database, const QString& tag, OriginTables& tables) {
    platform::Query edits = database.query(
        "select list, name, kind from origin_edit where origin = ? order by id", {tag});
    while (edits.next()) {
        const QString list = edits.text(0);
        QStringList& table = list == QLatin1String("mfirst")   ? tables.maleFirst
                             : list == QLatin1String("ffirst") ? tables.femaleFirst
                                                               : tables.last;
        if (edits.text(2) == QLatin1String("add"))
            table.append(edits.text(1));
        else
            removeAll(table, edits.text(1));
    }
}

// The names of `list` that `kept` holds, and after them the names of `added`
// that no list of `stored` holds, with the weight of the list's rarest name
// where the list has weights.
QList<ListedName> keptNames(const QList<ListedName>& list, const QSet<QString>& kept) {
    QList<ListedName> names;
    for (const ListedName& listed : list)
        if (kept.contains(folded(listed.name))) names.append(listed);
    return names;
}

double rarestWeight(const QList<ListedName>& list) {
    double rarest = std::numeric_limits<double>::infinity();
    for (const ListedName& listed : list)
        if (listed.weight > 0) rarest = std::min(rarest, listed.weight);
    return rarest == std::numeric_limits<double>::infinity() ? 0 : rarest;
}

void addNew(QList<ListedName>& list, const QStringList& table, const QSet<QString>& known) {
    const double weight = rarestWeight(list);
    QSet<QString> added;
    for (const QString& name : table) {
        const QString key = folded(name);
        if (known.contains(key) || added.contains(key)) continue;
        added.insert(key);
        list.append({name, weight});
    }
}

// The stored lists as the draw takes them while the user has changed none of
// them: a unisex name is drawn as unisex only, not as male or female too.
// Quick for long lists, as only the first names are compared, and only with
// the unisex ones.
OriginEntry unchangedForDrawing(OriginEntry stored) {
    const QSet<QString> unisex = foldedSet(namesOf(stored[OriginList::Unisex]));
    if (unisex.isEmpty()) return stored;
    for (OriginList list : {OriginList::Male, OriginList::Female})
        stored[list].removeIf(
            [&](const ListedName& listed) { return unisex.contains(folded(listed.name)); });
    return stored;
}

}  // namespace

bool hasOriginTables(platform::Database& database, const char* schema) {
    return database
               .firstValue((QByteArray("select count(*) from ") + schema +
                            ".sqlite_master where type='table' and name='shown_origin'")
                               .constData())
               .toInt() == 1;
}

QList<OriginRecord> storedOrigins(platform::Database& database) {
    QList<OriginRecord> origins;
    if (!hasOriginTables(database)) return origins;
    platform::Query rows = database.query(
        "select tag, name, scripts, name_order, separator, sources from origin order by tag");
    while (rows.next()) origins.append(recordOf(rows));
    return origins;
}

OriginRecord storedOrigin(platform::Database& database, const QString& tag) {
    platform::Query origin = database.query(
        "select tag, name, scripts, name_order, separator, sources from origin where tag = ?",
        {tag});
    if (!origin.next()) throw platform::Failure(QStringLiteral("no origin ") + tag);
    return recordOf(origin);
}

bool hasEdits(platform::Database& database, const QString& tag) {
    return database.query("select 1 from origin_edit where origin = ? limit 1", {tag}).next();
}

std::array<int, kOriginListCount> storedCounts(platform::Database& database, const QString& tag) {
    std::array<int, kOriginListCount> counts{};
    platform::Query rows = database.query(
        "select list, count(*) from origin_name where origin = ? group by list", {tag});
    while (rows.next())
        counts[static_cast<std::size_t>(listOf(rows.text(0)))] = rows.text(1).toInt();
    return counts;
}

bool hasGenderedSurnames(platform::Database& database, const QString& tag) {
    platform::Query rows =
        database.query("select 1 from origin_name where origin = ? and list = ? limit 1",
                       {tag, QString::fromLatin1(listWord(OriginList::LastFemale))});
    return rows.next();
}

OriginTables editedTables(platform::Database& database, const QString& tag) {
    OriginTables tables = tablesOf(storedEntry(database, tag));
    applyEdits(database, tag, tables);
    return tables;
}

OriginEntry originForDrawing(platform::Database& database, const QString& tag) {
    if (!hasEdits(database, tag)) return unchangedForDrawing(storedEntry(database, tag));
    const OriginEntry stored = storedEntry(database, tag);
    OriginTables tables = tablesOf(stored);
    applyEdits(database, tag, tables);
    const QSet<QString> male = foldedSet(tables.maleFirst);
    const QSet<QString> female = foldedSet(tables.femaleFirst);
    const QSet<QString> last = foldedSet(tables.last);
    const QSet<QString> both = QSet<QString>(male).intersect(female);

    OriginEntry drawn{stored.origin};
    drawn[OriginList::Unisex] = keptNames(stored[OriginList::Unisex], both);
    const QSet<QString> unisex = foldedSet(namesOf(drawn[OriginList::Unisex]));
    const auto without = [](QSet<QString> set, const QSet<QString>& gone) {
        return set.subtract(gone);
    };
    drawn[OriginList::Male] =
        keptNames(stored[OriginList::Male] + stored[OriginList::Unisex], without(male, unisex));
    drawn[OriginList::Female] =
        keptNames(stored[OriginList::Female] + stored[OriginList::Unisex], without(female, unisex));
    const QSet<QString> storedFirst = foldedSet(maleTableNames(stored) + femaleTableNames(stored));
    addNew(drawn[OriginList::Female], tables.femaleFirst, storedFirst);
    addNew(drawn[OriginList::Male], tables.maleFirst, storedFirst);

    const QSet<QString> storedLast = foldedSet(lastTableNames(stored));
    for (OriginList list : {OriginList::Last, OriginList::LastMale, OriginList::LastFemale}) {
        if (stored[list].isEmpty()) continue;
        drawn[list] = keptNames(stored[list], last);
        addNew(drawn[list], tables.last, storedLast);
    }
    return drawn;
}

QStringList shownOrigins(platform::Database& database) {
    QStringList tags;
    if (!hasOriginTables(database)) return tags;
    platform::Query rows = database.query("select tag from shown_origin order by position");
    while (rows.next()) tags.append(rows.text(0));
    return tags;
}

void showOrigins(platform::Database& database, const QStringList& tags) {
    if (shownOrigins(database) == tags || storedOrigins(database).isEmpty()) return;
    platform::Transaction transaction(database);
    fillShownTables(database, tags);
    transaction.commit();
}

namespace {

// The built-in tables take an origin's stored lists as tablesOf gives them:
// copied inside the database, with no row passing through here. One list at a
// time, so that the index gives the rows in their order without a sort.
void copyStoredTables(platform::Database& database, const QString& tag) {
    const auto copy = [&](const char* insert, OriginList list) {
        database.execute(insert, {tag, QString::fromLatin1(listWord(list))});
    };
    constexpr char kMale[] =
        "insert into system_mfirstname (Mfirst) select name from origin_name"
        " where origin = ? and list = ? order by id";
    constexpr char kFemale[] =
        "insert into system_ffirstname (Ffirst) select name from origin_name"
        " where origin = ? and list = ? order by id";
    constexpr char kLast[] =
        "insert into system_lastname (Last) select name from origin_name"
        " where origin = ? and list = ? order by id";
    copy(kMale, OriginList::Male);
    copy(kMale, OriginList::Unisex);
    copy(kFemale, OriginList::Female);
    copy(kFemale, OriginList::Unisex);
    for (OriginList list : {OriginList::Last, OriginList::LastMale, OriginList::LastFemale})
        copy(kLast, list);
}

void insertTables(platform::Database& database, const OriginTables& tables) {
    for (const QString& name : tables.maleFirst)
        database.execute("insert into system_mfirstname (Mfirst) values (?)", name);
    for (const QString& name : tables.femaleFirst)
        database.execute("insert into system_ffirstname (Ffirst) values (?)", name);
    for (const QString& name : tables.last)
        database.execute("insert into system_lastname (Last) values (?)", name);
}

}  // namespace

void fillShownTables(platform::Database& database, const QStringList& tags) {
    // An origin the user changed takes its lists with the changes applied;
    // the others are copied as stored. Read before the tables are emptied.
    QList<std::optional<OriginTables>> shown;
    for (const QString& tag : tags) {
        storedOrigin(database, tag);  // an unknown origin throws before any change
        shown.append(hasEdits(database, tag) ? std::optional(editedTables(database, tag))
                                             : std::nullopt);
    }
    // With shown_origin empty, the triggers keep none of the changes below.
    database.execute("delete from shown_origin");
    database.execute("delete from system_mfirstname");
    database.execute("delete from system_ffirstname");
    database.execute("delete from system_lastname");
    for (qsizetype i = 0; i < tags.size(); ++i) {
        if (shown[i])
            insertTables(database, *shown[i]);
        else
            copyStoredTables(database, tags[i]);
    }
    for (const QString& tag : tags)
        database.execute("insert into shown_origin (tag) values (?)", tag);
}

}  // namespace names
