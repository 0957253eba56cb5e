#pragma once

#include <QString>

namespace platform {
class Database;
}

namespace names {

// The longest name the database stores, in characters.
inline constexpr int kStoredNameLength = 50;

// The first 50 characters of a name, one fewer where the cut would split a
// letter written as a surrogate pair.
QString storedName(const QString& name);

// A query of the list load: its text and the name column read from each row.
// Names compare without regard to letter case, and the built-in first names
// come once each, so compared; the lists are ordered as the user's locale
// orders names (platform::kNameOrder). Where names are made distinct, that
// happens in a query of its own, before and apart from the ordering.
struct ListQuery {
    const char* sql;
    const char* column;
};

inline constexpr ListQuery kUserFirstNames{
    "select * from user_firstname order by firstname collate nameorder", "firstname"};
inline constexpr ListQuery kUserLastNames{
    "select * from user_lastname order by lastname collate nameorder", "lastname"};
inline constexpr ListQuery kBuiltInLastNames{
    "select * from system_lastname order by Last collate nameorder", "Last"};
inline constexpr ListQuery kBuiltInFirstNamesBoth{
    "select firstname from ("
    "select distinct mfirst collate nocase as firstname from system_mfirstname "
    "union select distinct ffirst collate nocase as firstname from system_ffirstname) "
    "order by firstname collate nameorder",
    "firstname"};
inline constexpr ListQuery kBuiltInFirstNamesMale{
    "select mfirst from (select distinct mfirst collate nocase as mfirst from system_mfirstname) "
    "order by mfirst collate nameorder",
    "mfirst"};
inline constexpr ListQuery kBuiltInFirstNamesFemale{
    "select ffirst from (select distinct ffirst collate nocase as ffirst from system_ffirstname) "
    "order by ffirst collate nameorder",
    "ffirst"};

// Where an added name goes. A first name added to the built-in list always
// goes to the female table.
enum class AddTo { BuiltInFirstNames, UserFirstNames, BuiltInLastNames, UserLastNames };

// Removals of every row holding a name, compared without regard to letter case.
enum class RemoveFrom { BuiltInMaleFirstNames, BuiltInFemaleFirstNames, BuiltInLastNames };

// The tables of the User List, which are emptied whole.
enum class UserTable { FirstNames, LastNames };

// Inserts one row holding the first 50 characters of `name`. The caller has
// removed apostrophes; the value is bound, never written into the SQL text.
void addName(platform::Database& database, AddTo table, const QString& name);
// Deletes every row whose name equals `name` without regard to letter case.
void removeName(platform::Database& database, RemoveFrom table, const QString& name);
void emptyTable(platform::Database& database, UserTable table);

}  // namespace names
