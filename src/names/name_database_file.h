#pragma once

#include <QString>
#include <QStringList>

#include "names/origin_data.h"

// Making the name database file. Used by the build tool that turns the
// built-in lists into names.mdb, and by tests that need a fresh database.
// Needs only Qt Core and SQLite.
namespace names {

// The five tables, each with an integer key of its own and a name column that
// compares without regard to letter case.
inline constexpr const char* kNameDatabaseSchema =
    "create table system_mfirstname (id integer primary key, Mfirst text not null collate nocase);"
    "create table system_ffirstname (id integer primary key, Ffirst text not null collate nocase);"
    "create table system_lastname (id integer primary key, Last text not null collate nocase);"
    "create table user_firstname (id integer primary key, firstname text not null collate nocase);"
    "create table user_lastname (id integer primary key, lastname text not null collate nocase);";

// The store of the world's origins beside the five tables. The three built-in
// tables hold the names of the origins that shown_origin lists, as the main
// window shows them; the triggers keep each change the user makes to them as
// a change of those origins (an added name for the first of them, a removed
// one for all), so that it comes back when the origin is shown again and
// outlives a refresh of the built-in names. While shown_origin is empty
// nothing is kept: the tables are being filled, or the file holds no origins.
inline constexpr int kStoreSchemaVersion = 5;
inline constexpr const char* kOriginSchema =
    "create table store_info (key text primary key, value text not null);"
    "insert into store_info values ('schema', '5');"
    "create table origin (tag text primary key, name text not null, scripts text not null,"
    " name_order text not null, separator text not null, sources text not null);"
    "create table origin_name (id integer primary key, origin text not null, list text not null,"
    " name text not null, weight real);"
    "create index origin_name_lists on origin_name (origin, list);"
    "create table origin_edit (id integer primary key, origin text not null,"
    " list text not null, name text not null, kind text not null);"
    "create table shown_origin (position integer primary key, tag text not null);"
    "create trigger system_mfirstname_added after insert on system_mfirstname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'mfirst', new.Mfirst, 'add'"
    " from shown_origin order by position limit 1; end;"
    "create trigger system_ffirstname_added after insert on system_ffirstname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'ffirst', new.Ffirst, 'add'"
    " from shown_origin order by position limit 1; end;"
    "create trigger system_lastname_added after insert on system_lastname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'last', new.Last, 'add'"
    " from shown_origin order by position limit 1; end;"
    "create trigger system_mfirstname_removed after delete on system_mfirstname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'mfirst', old.Mfirst,"
    " 'remove' from shown_origin; end;"
    "create trigger system_ffirstname_removed after delete on system_ffirstname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'ffirst', old.Ffirst,"
    " 'remove' from shown_origin; end;"
    "create trigger system_lastname_removed after delete on system_lastname begin"
    " insert into origin_edit (origin, list, name, kind) select tag, 'last', old.Last, 'remove'"
    " from shown_origin; end;";

// What weighted draws take beside the lists (names/birth_store.h): the full
// distribution of a list that origin_name holds only the common names of
// (its names of weight above zero: the others are never drawn by weight), and
// an origin's births by decade, the gzip bytes of its births_by_decade.tsv.gz.
// The user's edits do not reach them. And each list of origin_name and of
// origin_weighted_name once more, whole in one row (names/packed_names.h),
// for drawing: full is 1 for a full distribution, 2 for the first names by
// their births over all years (lists female, male and unisex, by the unisex
// rule), taken from the births by decade. A store of schema 2 to 4 gains them
// on the next refresh of its built-in lists.
inline constexpr const char* kDistributionSchema =
    "create table if not exists origin_weighted_name (id integer primary key,"
    " origin text not null, list text not null, name text not null, weight real not null);"
    "create index if not exists origin_weighted_name_lists on origin_weighted_name"
    " (origin, list);"
    "create table if not exists origin_births (origin text primary key, births blob not null);"
    "create table if not exists origin_pack (origin text not null, list text not null,"
    " full integer not null, names blob not null, weights blob not null,"
    " primary key (origin, list, full)) without rowid;"
    "update store_info set value = '5' where key = 'schema';";

// The origin the built-in tables of a new database show: the default of a
// user whose locale matches no origin.
inline constexpr char kFallbackOrigin[] = "en-US";

struct NameTables {
    QStringList maleFirst{};    // system_mfirstname
    QStringList femaleFirst{};  // system_ffirstname
    QStringList last{};         // system_lastname
    QStringList userFirst{};    // user_firstname
    QStringList userLast{};     // user_lastname
    // With origins, the three built-in tables show the first of `shown` (or
    // kFallbackOrigin) instead of the three lists above.
    QList<OriginEntry> origins{};
    QStringList shown{};
};

// The edition of a set of built-in lists: a number drawn from their content,
// never 0, kept in the database file as its user_version. A user's copy whose
// edition differs from the installed template's gets the template's lists.
int builtInEdition(const NameTables& names);

// Writes a new database file with the five tables holding the given names, in
// write-ahead-log mode, stamped with the edition of its built-in lists. A file
// already at `path` is replaced. Throws platform::Failure.
void createNameDatabase(const QString& path, const NameTables& names);

enum class InstallResult { Installed, Replaced, AlreadyCurrent, KeptChangedByUser };

// Puts a freshly built database at `target` unless the user has changed the
// one there. `stampFile` keeps the SHA-256 of the file last put there: the
// target is replaced only when it is absent or still byte-identical to that
// file, and never while a write-ahead log beside it holds changes.
InstallResult installBuiltDatabase(const QString& built, const QString& target,
                                   const QString& stampFile);

}  // namespace names
