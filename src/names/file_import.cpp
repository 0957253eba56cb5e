#include "names/file_import.h"

#include <optional>
#include "guarded/failure_report.h"

#include "names/name_file.h"
#include "names/statements.h"
#include "platform/database.h"
#include "platform/dialogs.h"
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

void store(guarded::Procedure& procedure, platform::Database& database,
           const ImportSettings& settings, std::int16_t kind, const QString& name,
           NamePlace place) {
    const int base = firstStatementFor(place);
    const auto add = [&](int number, AddTo table) {
        procedure.run(number, [&] { AddName(database, table, name); });
    };
    if (kind == kImportFirstNames) {
        if (settings.builtInList)
            add(base + 4, AddTo::BuiltInFirstNames);
        else if (settings.userList)
            add(base + 8, AddTo::UserFirstNames);
    } else if (kind == kImportLastNames) {
        if (settings.builtInList)
            add(base + 14, AddTo::BuiltInLastNames);
        else if (settings.userList)
            add(base + 18, AddTo::UserLastNames);
    }
}

}  // namespace

void FileToListview(const ImportSettings& settings, const QString& path, std::int16_t kind) {
    guarded::Procedure procedure(settings.dialogs, guarded::LocationTag("Main", "FileToListview"));
    platform::Database database;  // not open yet
    if (procedure.test(102, [&] { return !platform::FileExists(path); })) {
        procedure.run(102, [&] {
            settings.dialogs.messageBox(QStringLiteral("File not found"), platform::kStyleOk,
                                        settings.applicationTitle);
        });
        return;
    }
    // Without the database every name would fail in turn: one report ends this
    // file. The whole file is one transaction, begun here, so that waiting for
    // another copy of the program that is writing happens once.
    std::optional<platform::Transaction> transaction;
    if (!procedure.run(106, [&] {
            database.open(settings.databasePath);
            transaction.emplace(database);
        }))
        return;

    // The whole file is read and decoded at once: its encoding is known only
    // when all of its bytes are. A file that cannot be read is reported once.
    QString text;
    if (procedure.run(108, [&] { text = DecodeNameFile(ReadNameFile(path)); })) {
        ForEachName(text, [&](const QString& name, NamePlace place) {
            store(procedure, database, settings, kind, name, place);
        });
    }
    procedure.run(194, [&] {
        transaction->commit();
        database.close();
    });
}

}  // namespace names
