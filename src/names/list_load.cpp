#include "names/list_load.h"

#include <QScopeGuard>
#include <QStringList>

#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "names/proper_case.h"
#include "names/statements.h"
#include "platform/database.h"

namespace names {

namespace {

void fill(platform::Database& database, const ListQuery& query, NameListModel& list) {
    platform::Query rows = database.query(query.sql);
    const int column = rows.column(query.column);
    bool more = rows.next();
    list.clear();
    // The rows reach the list in one batch, also when reading stops half way.
    QStringList entries;
    QStringList storedNames;
    const auto addRead = qScopeGuard([&] { list.addAll(entries, storedNames); });
    for (; more; more = rows.next()) {
        const QString stored = rows.text(column);
        const QString shown = ProperCase(stored);
        // Mostly the same text: then both lists share it.
        entries.append(shown == stored ? stored : shown);
        storedNames.append(stored);
    }
}

}  // namespace

BusyPointer::BusyPointer(SetPointer setPointer) : setPointer_(std::move(setPointer)) {
    if (setPointer_) setPointer_(platform::PointerShape::Hourglass);
}

BusyPointer::~BusyPointer() {
    if (setPointer_) setPointer_(platform::PointerShape::Normal);
}

void loadLists(const QString& databasePath, const ListOptions& options, NameListModel& firstNames,
               NameListModel& lastNames, const SetPointer& setPointer) {
    platform::Database database;
    BusyPointer busy(setPointer);
    database.open(databasePath);
    if (options.userList) {
        fill(database, kUserFirstNames, firstNames);
        fill(database, kUserLastNames, lastNames);
    } else if (options.builtInList) {
        if (!options.origins.isEmpty()) showOrigins(database, options.origins);
        fill(database, kBuiltInLastNames, lastNames);
        if (options.both)
            fill(database, kBuiltInFirstNamesBoth, firstNames);
        else if (options.maleOnly)
            fill(database, kBuiltInFirstNamesMale, firstNames);
        else if (options.femaleOnly)
            fill(database, kBuiltInFirstNamesFemale, firstNames);
    }
    database.close();
}

}  // namespace names
