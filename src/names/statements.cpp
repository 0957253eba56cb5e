#include "names/statements.h"

#include "platform/database.h"

namespace names {

QString StoredName(const QString& name) {
    if (name.size() <= kStoredNameLength) return name;
    const bool splitsPair = name.at(kStoredNameLength - 1).isHighSurrogate() &&
                            name.at(kStoredNameLength).isLowSurrogate();
    return name.left(splitsPair ? kStoredNameLength - 1 : kStoredNameLength);
}

void AddName(platform::Database& database, AddTo table, const QString& name) {
    const char* sql = nullptr;
    switch (table) {
        case AddTo::BuiltInFirstNames:
            sql = "insert into system_ffirstname (Ffirst) values (?)";
            break;
        case AddTo::UserFirstNames:
            sql = "insert into user_firstname (firstname) values (?)";
            break;
        case AddTo::BuiltInLastNames:
            sql = "insert into system_lastname ([Last]) values (?)";
            break;
        case AddTo::UserLastNames:
            sql = "insert into user_lastname (lastname) values (?)";
            break;
    }
    database.execute(sql, StoredName(name));
}

void RemoveName(platform::Database& database, RemoveFrom table, const QString& name) {
    const char* sql = nullptr;
    switch (table) {
        case RemoveFrom::BuiltInMaleFirstNames:
            sql = "delete from system_mfirstname where Mfirst = ? collate nocase";
            break;
        case RemoveFrom::BuiltInFemaleFirstNames:
            sql = "delete from system_ffirstname where Ffirst = ? collate nocase";
            break;
        case RemoveFrom::BuiltInLastNames:
            sql = "delete from system_lastname where Last = ? collate nocase";
            break;
    }
    database.execute(sql, name);
}

void EmptyTable(platform::Database& database, Empty table) {
    database.execute(table == Empty::UserFirstNames ? "delete from user_firstname"
                                                    : "delete from user_lastname");
}

}  // namespace names
