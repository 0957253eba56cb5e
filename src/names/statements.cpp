#include "names/statements.h"

#include "platform/database.h"

namespace names {

QString storedName(const QString& name) {
    if (name.size() <= kStoredNameLength) return name;
    const bool splitsPair = name.at(kStoredNameLength - 1).isHighSurrogate() &&
                            name.at(kStoredNameLength).isLowSurrogate();
    return name.left(splitsPair ? kStoredNameLength - 1 : kStoredNameLength);
}

void addName(platform::Database& database, AddTo table, const QString& name) {
    // In the order of AddTo.
    static constexpr const char* kInserts[] = {
        "insert into system_ffirstname (Ffirst) values (?)",
        "insert into user_firstname (firstname) values (?)",
        "insert into system_lastname ([Last]) values (?)",
        "insert into user_lastname (lastname) values (?)",
    };
    database.execute(kInserts[static_cast<int>(table)], storedName(name));
}

void removeName(platform::Database& database, RemoveFrom table, const QString& name) {
    // In the order of RemoveFrom.
    static constexpr const char* kDeletions[] = {
        "delete from system_mfirstname where Mfirst = ? collate nocase",
        "delete from system_ffirstname where Ffirst = ? collate nocase",
        "delete from system_lastname where Last = ? collate nocase",
    };
    database.execute(kDeletions[static_cast<int>(table)], name);
}

void emptyTable(platform::Database& database, UserTable table) {
    database.execute(table == UserTable::FirstNames ? "delete from user_firstname"
                                                    : "delete from user_lastname");
}

}  // namespace names
