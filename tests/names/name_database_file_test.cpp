// The database the build makes from the built-in lists, and how the build puts
// it beside the program.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/list_load.h"
#include "names/name_database_file.h"
#include "names/name_list_model.h"
#include "names/origin_data.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/temp_database.h"

namespace {

using names::InstallResult;

TEST(BuiltDatabase, HoldsTheOriginsAndShowsTheFallbackOriginWithEmptyUserTables) {
    const testsupport::TempDatabase db(QStringLiteral(QF_BUILT_NAMES_DB));
    const QList<names::OriginEntry> origins =
        names::readOriginFolder(QStringLiteral(QF_DATA_DIR "/origins"));
    EXPECT_GE(origins.size(), 40);
    platform::Database connection;
    connection.open(db.path());
    EXPECT_EQ(names::storedOrigins(connection).size(), origins.size());
    EXPECT_EQ(names::shownOrigins(connection), QStringList{names::kFallbackOrigin});
    const auto fallback = std::find_if(origins.begin(), origins.end(), [](const auto& entry) {
        return entry.origin.tag == QLatin1String(names::kFallbackOrigin);
    });
    ASSERT_NE(fallback, origins.end());
    EXPECT_EQ(db.names("system_mfirstname"), names::maleTableNames(*fallback));
    EXPECT_EQ(db.names("system_ffirstname"), names::femaleTableNames(*fallback));
    EXPECT_EQ(db.names("system_lastname"), names::lastTableNames(*fallback));
    // Names keep their own scripts.
    const int beyondAscii =
        connection.firstValue("select count(*) from origin_name where name glob '*[^ -~]*'")
            .toInt();
    EXPECT_GE(beyondAscii, 10000);
    EXPECT_TRUE(db.names("user_firstname").isEmpty());
    EXPECT_TRUE(db.names("user_lastname").isEmpty());
}

TEST(BuiltDatabase, StaysByteIdenticalWhileItIsOnlyRead) {
    const testsupport::TempDatabase db(QStringLiteral(QF_BUILT_NAMES_DB));
    const auto bytes = [&] {
        QFile file(db.path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();
    names::NameListModel first;
    names::NameListModel last;
    names::loadLists(db.path(), {}, first, last, [](platform::PointerShape) {});
    EXPECT_GT(first.count(), 1000);
    EXPECT_EQ(bytes(), before);  // so a later build may still bring new built-in names
}

class OriginFolder : public ::testing::Test {
protected:
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(folder.filePath(name)).path());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeOrigin(const QByteArray& indexLine, const QByteArray& male) {
        write("origins.tsv", "tag\tname\tscripts\torder\tseparator\tsources\n" + indexLine);
        write("xx/male.txt", male);
        write("xx/last_male.txt", "Novák\n");
        write("xx/last_female.txt", "Nováková\n");
    }
    QList<names::OriginEntry> read() const { return names::readOriginFolder(folder.path()); }
    QTemporaryDir folder;
};

TEST_F(OriginFolder, ReadsTheIndexAndEachListWithItsWeights) {
    writeOrigin("xx\tTest\tLatn\tfamily-first\tnone\tsrc\n", "Ann\t2.5\nO'Neil\r\nZo\xC3\xAB\n");
    const QList<names::OriginEntry> origins = read();
    ASSERT_EQ(origins.size(), 1);
    const names::OriginEntry& xx = origins[0];
    EXPECT_EQ(xx.origin, (names::OriginRecord{"xx", "Test", "Latn", true, false, "src"}));
    EXPECT_EQ(xx[names::OriginList::Male],
              (QList<names::ListedName>{{"Ann", 2.5}, {"O\u2019Neil", 0}, {"Zoë", 0}}));
    EXPECT_TRUE(xx.hasGenderedSurnames());
    EXPECT_EQ(names::lastTableNames(xx), (QStringList{"Novák", "Nováková"}));
}

TEST_F(OriginFolder, RefusesWhatTheProgramCouldNotStore) {
    const struct {
        QByteArray index;
        QByteArray male;
        const char* fault;
    } faults[] = {
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", "Ann\n\nBob\n", ":2: empty name"},
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", "Ann \n", ":1: blanks at the ends"},
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", QByteArray(51, 'a'), ":1: longer than 50"},
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", "Ann\t-1\n", ":1: bad weight"},
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", "Jos\xE9\n", "not valid UTF-8"},
        {"xx\tT\tLatn\tsideways\tspace\ts\n", "Ann\n", ":2: unknown name order sideways"},
        {"xx\tT\tLatn\tgiven-first\ttab\ts\n", "Ann\n", ":2: unknown separator tab"},
        {"xx\tT\tLatn\n", "Ann\n", ":2: not six columns"},
        {"xx\tT\tLatn\tgiven-first\tspace\ts\n", "", "no first names or no last names"},
    };
    for (const auto& c : faults) {
        QFile::remove(folder.filePath("xx/male.txt"));
        writeOrigin(c.index, c.male);
        if (c.male.isEmpty()) QFile::remove(folder.filePath("xx/male.txt"));
        try {
            read();
            ADD_FAILURE() << "accepted " << c.male.toStdString();
        } catch (const platform::Failure& failure) {
            EXPECT_TRUE(failure.description().endsWith(c.fault)) << failure.what();
        }
    }
}

class Installing : public ::testing::Test {
protected:
    QString path(const char* name) const { return folder.filePath(name); }
    void write(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }
    InstallResult install() const {
        return names::installBuiltDatabase(path("built.mdb"), path("names.mdb"), path("stamp"));
    }
    QTemporaryDir folder;
};

TEST_F(Installing, ReplacesOnlyADatabaseTheUserHasNotChanged) {
    write("built.mdb", "first build");
    write("names.mdb-wal", "log of a removed file");
    EXPECT_EQ(install(), InstallResult::Installed);
    EXPECT_EQ(read("names.mdb"), "first build");
    EXPECT_FALSE(QFile::exists(path("names.mdb-wal")));
    EXPECT_EQ(install(), InstallResult::AlreadyCurrent);

    write("built.mdb", "second build");
    EXPECT_EQ(install(), InstallResult::Replaced);
    EXPECT_EQ(read("names.mdb"), "second build");

    write("names.mdb", "changed by the user");
    write("built.mdb", "third build");
    EXPECT_EQ(install(), InstallResult::KeptChangedByUser);
    EXPECT_EQ(read("names.mdb"), "changed by the user");
    EXPECT_EQ(install(), InstallResult::KeptChangedByUser);

    // Unchanged file, but changes waiting in its log.
    write("names.mdb", "third build");
    EXPECT_EQ(install(), InstallResult::AlreadyCurrent);
    write("built.mdb", "fourth build");
    write("names.mdb-wal", "pending changes");
    EXPECT_EQ(install(), InstallResult::KeptChangedByUser);
    EXPECT_EQ(read("names.mdb"), "third build");
}

TEST_F(Installing, WithoutAStampAnExistingDifferentFileIsKept) {
    write("built.mdb", "build");
    write("names.mdb", "someone else's");
    EXPECT_EQ(install(), InstallResult::KeptChangedByUser);
    EXPECT_EQ(read("names.mdb"), "someone else's");
}

}  // namespace
