#include "names/file_import.h"

#include <optional>

#include "guarded/failure_report.h"
#include "names/name_file.h"
#include "names/statements.h"
#include "platform/database.h"
#include "platform/files.h"

namespace names {

namespace {

// Statement number of the test "kind is 1?" for a name at each place in its
// line; the inserts that follow it are numbered from there.
int firstStatementFor(NamePlace place) {
    switch (place) {
        case NamePlace::BeforeLineFeed:
            return 126;
        case NamePlace::AfterLastLineFeed:
            return 150;
        case NamePlace::WholeLine:
            break;
    }
    return 172;
}

// True when the name was stored.
bool store(guarded::Procedure& procedure, platform::Database& database,
           const ImportContext& context, NameKind kind, const QString& name, NamePlace place) {
    const int base = firstStatementFor(place);
    const auto add = [&](int number, AddTo table) {
        return procedure.run(number, [&] { addName(database, table, name); });
    };
    if (kind == NameKind::First) {
        if (context.builtInList) return add(base + 4, AddTo::BuiltInFirstNames);
        if (context.userList) return add(base + 8, AddTo::UserFirstNames);
    } else if (kind == NameKind::Last) {
        if (context.builtInList) return add(base + 14, AddTo::BuiltInLastNames);
        if (context.userList) return add(base + 18, AddTo::UserLastNames);
    }
    return false;
}

}  // namespace

int FileToListview(const ImportContext& context, const QString& path, NameKind kind) {
    int stored = 0;
    guarded::Procedure procedure(context.reporter, guarded::locationTag("Main", "FileToListview"));
    platform::Database database;  // not open yet
    if (procedure.test(102, [&] { return !platform::FileExists(path); })) {
        procedure.run(102, [&] { context.message(QStringLiteral("File not found")); });
        return stored;
    }
    // Without the database every name would fail in turn: one report ends this
    // file. The whole file is one transaction, begun here, so that waiting for
    // another copy of the program that is writing happens once.
    std::optional<platform::Transaction> transaction;
    if (!procedure.run(106, [&] {
            database.open(context.databasePath);
            transaction.emplace(database);
        }))
        return stored;

    // The whole file is read and decoded at once: its encoding is known only
    // when all of its bytes are. A file that cannot be read is reported once.
    QString text;
    if (procedure.run(108, [&] { text = decodeNameFile(readNameFile(path)); })) {
        forEachName(text, [&](const QString& name, NamePlace place) {
            stored += store(procedure, database, context, kind, name, place) ? 1 : 0;
        });
    }
    // The names count once they are committed.
    if (!procedure.run(194, [&] {
            transaction->commit();
            database.close();
        }))
        stored = 0;
    return stored;
}

}  // namespace names
