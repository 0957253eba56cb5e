// The database the build makes from the built-in lists, and how the build puts
// it beside the program.
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/list_load.h"
#include "names/name_database_file.h"
#include "names/name_list_model.h"
#include "platform/failure.h"
#include "support/temp_database.h"

namespace {

using names::InstallResult;

TEST(BuiltDatabase, HoldsTheBuiltInListsAndEmptyUserTables) {
    const testsupport::TempDatabase db(QStringLiteral(QF_BUILT_NAMES_DB));
    const QString data = QStringLiteral(QF_DATA_DIR "/");
    const QStringList male = db.names("system_mfirstname");
    const QStringList female = db.names("system_ffirstname");
    const QStringList last = db.names("system_lastname");
    EXPECT_EQ(male, names::readBuiltInList(data + "male_first.txt"));
    EXPECT_EQ(female, names::readBuiltInList(data + "female_first.txt"));
    EXPECT_EQ(last, names::readBuiltInList(data + "last.txt"));
    EXPECT_GE(male.size(), 1000);
    EXPECT_GE(female.size(), 1000);
    EXPECT_GE(last.size(), 2000);
    const QStringList all = male + female + last;
    static const QRegularExpression beyondAscii(QStringLiteral("[^\\x{0}-\\x{7f}]"));
    EXPECT_GE(all.filter(beyondAscii).size(), 24);
    EXPECT_GE(all.filter(QStringLiteral("-")).size(), 10);
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

class BuiltInListFile : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        QFile file(folder.filePath("list.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir folder;
};

TEST_F(BuiltInListFile, ReadsOneNamePerLineAndRejectsNamesTheProgramCouldNotStore) {
    EXPECT_EQ(names::readBuiltInList(write("Ann\nZo\xC3\xAB\r\nAnne-Marie\n")),
              (QStringList{"Ann", "Zoë", "Anne-Marie"}));
    const struct {
        QByteArray bytes;
        const char* fault;
    } faults[] = {
        {"Ann\n\nBob\n", ":2: empty name"},   {"Ann\nO'Neil\n", ":2: apostrophe"},
        {"Ann \n", ":1: blanks at the ends"}, {QByteArray(51, 'a'), ":1: longer than 50"},
        {"Jos\xE9\n", "not valid UTF-8"},
    };
    for (const auto& c : faults) {
        try {
            names::readBuiltInList(write(c.bytes));
            ADD_FAILURE() << "accepted " << c.bytes.toStdString();
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
