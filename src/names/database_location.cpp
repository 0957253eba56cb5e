#include "names/database_location.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtGlobal>

#include "names/name_database_file.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "platform/files.h"

namespace names {

namespace {

struct BuiltInTable {
    const char* table;
    const char* column;
};
constexpr BuiltInTable kBuiltInTables[] = {
    {"system_mfirstname", "Mfirst"},
    {"system_ffirstname", "Ffirst"},
    {"system_lastname", "Last"},
};

int editionOf(platform::Database& db, const char* schema) {
    return db.firstValue((QByteArray("pragma ") + schema + ".user_version").constData()).toInt();
}

// Puts the finished file in place unless a file of that name exists already.
void renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return;
    // File systems without that kind of rename: a hard link also refuses an existing name.
    if ((errno == EINVAL || errno == ENOSYS) && ::link(source.constData(), target.constData()) == 0)
        return;
    throw platform::Failure(to + QStringLiteral(": ") +
                            QString::fromLocal8Bit(std::strerror(errno)));
}

void removeCompanions(const QString& path) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) QFile::remove(path + suffix);
}

// A template without origins: its three built-in tables replace the copy's.
void takeTemplateTables(platform::Database& db) {
    for (const BuiltInTable& builtIn : kBuiltInTables) {
        const QByteArray table(builtIn.table);
        const QByteArray column(builtIn.column);
        db.execute(("delete from main." + table).constData());
        db.execute(("insert into main." + table + " (id, " + column + ") select id, " + column +
                    " from template." + table + " order by id")
                       .constData());
    }
}

bool templateHas(platform::Database& db, const char* table) {
    return db.firstValue((QByteArray("select count(*) from template.sqlite_master where type = "
                                     "'table' and name = '") +
                          table + "'")
                             .constData())
               .toInt() == 1;
}

// The template's origins replace the copy's; the user's changes to them stay
// and the built-in tables show the same origins again, as far as the template
// still has them (else the template's own). A copy made before origins
// existed gains their tables first, one made before the full distributions
// and births theirs.
void takeTemplateOrigins(platform::Database& db) {
    if (!hasOriginTables(db)) db.executeScript(kOriginSchema);
    db.executeScript(kDistributionSchema);
    QStringList shown = shownOrigins(db);
    for (const char* table :
         {"origin", "origin_name", "origin_weighted_name", "origin_births", "origin_pack"}) {
        db.execute((QByteArray("delete from main.") + table).constData());
        if (templateHas(db, table))
            db.execute(
                (QByteArray("insert into main.") + table + " select * from template." + table)
                    .constData());
    }
    QStringList known;
    for (const OriginRecord& origin : storedOrigins(db)) known.append(origin.tag);
    shown.removeIf([&](const QString& tag) { return !known.contains(tag); });
    if (shown.isEmpty()) {
        platform::Query rows = db.query("select tag from template.shown_origin order by position");
        while (rows.next()) shown.append(rows.text(0));
    }
    fillShownTables(db, shown);
}

}  // namespace

DatabaseFolders programDatabaseFolders() {
    // QF_TEMPLATE_FOLDER_FROM_PROGRAM, set by the build from the install
    // folders, leads from the executable's folder to the template's.
    const QString program = platform::programFolder();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {program, QDir::cleanPath(program + QStringLiteral("/" QF_TEMPLATE_FOLDER_FROM_PROGRAM)),
            data + QStringLiteral("/quillfern")};
}

bool isUsableNameDatabase(const QString& path) {
    try {
        platform::Database db;
        db.open(path, platform::Database::Access::ReadOnlyImmutable);
        const int tables =
            db.firstValue(
                  "select count(*) from sqlite_master where type='table' and lower(name) in "
                  "('system_mfirstname','system_ffirstname','system_lastname','user_firstname',"
                  "'user_lastname')")
                .toInt();
        return tables == 5 && db.firstValue("pragma quick_check") == QLatin1String("ok");
    } catch (const platform::Failure&) {
        return false;
    }
}

void copyTemplate(const QString& templatePath, const QString& target) {
    if (!isUsableNameDatabase(templatePath))
        throw platform::Failure(templatePath + QStringLiteral(": no usable name database"));
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly))
        throw platform::Failure(templatePath + QStringLiteral(": ") + source.errorString());
    const QByteArray bytes = source.readAll();
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        throw platform::Failure(folder + QStringLiteral(": cannot create the folder"));
    if (QFileInfo::exists(target)) throw platform::Failure(target + QStringLiteral(": exists"));
    // A log left beside a removed copy belongs to that file, not to the new one.
    removeCompanions(target);

    QTemporaryFile partial(target + QStringLiteral(".XXXXXX"));
    if (!partial.open() || partial.write(bytes) != bytes.size() || !partial.flush() ||
        ::fsync(partial.handle()) != 0)
        throw platform::Failure(partial.fileName() + QStringLiteral(": ") + partial.errorString());
    renameWithoutReplacing(partial.fileName(), target);
    // After a rename the temporary name is gone; after a hard link it is removed here.
}

RefreshResult refreshBuiltInLists(const QString& templatePath, const QString& copy) {
    platform::Database templateDb;
    templateDb.open(templatePath, platform::Database::Access::ReadOnlyImmutable);
    const int edition = editionOf(templateDb, "main");
    templateDb.close();
    platform::Database db;
    db.open(copy);
    if (editionOf(db, "main") == edition) return RefreshResult::AlreadyCurrent;
    if (!isUsableNameDatabase(templatePath))
        throw platform::Failure(templatePath + QStringLiteral(": no usable name database"));

    db.execute("attach database ? as template", platform::immutableUri(templatePath));
    platform::Transaction transaction(db);
    // Another start of the program may have refreshed it in the meantime.
    if (editionOf(db, "main") == edition) return RefreshResult::AlreadyCurrent;
    if (hasOriginTables(db, "template") &&
        db.firstValue("select count(*) from template.origin").toInt() > 0)
        takeTemplateOrigins(db);
    else
        takeTemplateTables(db);
    db.execute(("pragma main.user_version=" + QByteArray::number(edition)).constData());
    transaction.commit();
    return RefreshResult::Refreshed;
}

QString prepareNameDatabase(const DatabaseFolders& folders) {
    const QString beside = QDir(folders.programFolder).filePath(kNameDatabaseFileName);
    if (QFileInfo::exists(beside)) return beside;
    const QString copy = QDir(folders.userFolder).filePath(kNameDatabaseFileName);
    const QString templatePath = QDir(folders.templateFolder).filePath(kNameDatabaseFileName);
    try {
        if (!QFileInfo::exists(copy))
            copyTemplate(templatePath, copy);
        else if (QFileInfo::exists(templatePath))
            refreshBuiltInLists(templatePath, copy);
    } catch (const platform::Failure& failure) {
        // The windows report a missing or damaged database when they open it.
        qWarning("Quillfern: %s", failure.what());
    }
    return copy;
}

QString nameDatabasePath() {
    return prepareNameDatabase(programDatabaseFolders());
}

}  // namespace names
