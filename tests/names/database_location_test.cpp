// Which names.mdb the program uses, the user's copy made from the installed
// template, and the refresh of its built-in lists from a newer template.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/database_location.h"
#include "names/name_database_file.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/qt_printers.h"

namespace {

using names::RefreshResult;

const names::NameTables kEditionA{{"Adam"}, {"Anna"}, {"Archer"}, {}, {}};
const names::NameTables kEditionB{{"Bert", "Boris"}, {"Bella"}, {"Baker", "Brown"}, {}, {}};

// The names of a table in the order they were stored.
QStringList namesIn(const QString& path, const char* table) {
    platform::Database db;
    db.open(path);
    platform::Query rows =
        db.query(QByteArray("select * from ").append(table).append(" order by id"));
    QStringList names;
    while (rows.next()) names << rows.text(1);
    return names;
}

void execute(const QString& path, const char* sql) {
    platform::Database db;
    db.open(path);
    db.execute(sql);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A program folder, an installed template's folder and a user's data folder.
class Folders : public ::testing::Test {
protected:
    QTemporaryDir root;
    names::DatabaseFolders folders{root.filePath("usr/bin"), root.filePath("usr/share/quillfern"),
                                   root.filePath("home/.local/share/quillfern")};
    QString beside() const { return folders.programFolder + "/names.mdb"; }
    QString templatePath() const { return folders.templateFolder + "/names.mdb"; }
    QString copy() const { return folders.userFolder + "/names.mdb"; }

    void makeDatabase(const QString& path, const names::NameTables& tables) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        names::createNameDatabase(path, tables);
    }
};

enum class Template { Usable, Missing, NotADatabase, Truncated, WithoutUserTable };

struct ChoiceCase {
    const char* what;
    bool besideProgram;
    bool copyExists;
    Template templateState;
    bool expectBeside;
    bool expectCopy;  // a user's copy exists afterwards
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << c.what;
}

class DatabaseChoice : public Folders, public ::testing::WithParamInterface<ChoiceCase> {
protected:
    void makeTemplate(Template state) {
        if (state == Template::Missing) return;
        if (state == Template::NotADatabase) return write(templatePath(), "not a database\n");
        makeDatabase(templatePath(), kEditionA);
        if (state == Template::WithoutUserTable)
            execute(templatePath(), "drop table user_lastname");
        if (state == Template::Truncated) {
            const QByteArray whole = bytesOf(templatePath());
            write(templatePath(), whole.left(whole.size() / 2));
        }
    }
};

TEST_P(DatabaseChoice, PicksAndPreparesTheDatabase) {
    const ChoiceCase& c = GetParam();
    if (c.besideProgram) makeDatabase(beside(), {{}, {}, {}, {"Portable"}, {}});
    if (c.copyExists) makeDatabase(copy(), {{}, {}, {}, {"Mine"}, {}});
    makeTemplate(c.templateState);
    const QByteArray templateBefore = bytesOf(templatePath());

    const QString chosen = names::prepareNameDatabase(folders);

    EXPECT_EQ(chosen, c.expectBeside ? beside() : copy());
    EXPECT_EQ(QFileInfo::exists(copy()), c.expectCopy);
    // Nothing is made for the user unless it is made whole.
    if (!c.expectCopy) {
        EXPECT_FALSE(QFileInfo::exists(folders.userFolder));
    }
    if (c.besideProgram) {
        EXPECT_EQ(namesIn(beside(), "user_firstname"), QStringList{"Portable"});
    }
    if (c.copyExists) {
        EXPECT_EQ(namesIn(copy(), "user_firstname"), QStringList{"Mine"});
    }
    if (c.expectCopy && !c.copyExists) {
        EXPECT_EQ(bytesOf(copy()), templateBefore);
        EXPECT_EQ(QDir(folders.userFolder).entryList(QDir::Files), QStringList{"names.mdb"});
    }
    EXPECT_EQ(bytesOf(templatePath()), templateBefore);  // the template is only read
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatabaseChoice,
    ::testing::Values(
        ChoiceCase{"BesideTheProgramWins", true, false, Template::Usable, true, false},
        ChoiceCase{"FirstStartCopiesTheTemplate", false, false, Template::Usable, false, true},
        ChoiceCase{"ExistingCopyIsUsed", false, true, Template::Usable, false, true},
        ChoiceCase{"ExistingCopyWithoutTemplate", false, true, Template::Missing, false, true},
        ChoiceCase{"MissingTemplateMakesNothing", false, false, Template::Missing, false, false},
        ChoiceCase{"NonDatabaseTemplate", false, false, Template::NotADatabase, false, false},
        ChoiceCase{"TruncatedTemplate", false, false, Template::Truncated, false, false},
        ChoiceCase{"TemplateMissingATable", false, false, Template::WithoutUserTable, false,
                   false}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.what; });

TEST_F(Folders, TheCopyIsNeverWrittenOverAnExistingFile) {
    makeDatabase(templatePath(), kEditionA);
    write(copy(), "someone else's");
    EXPECT_THROW(names::copyTemplate(templatePath(), copy()), platform::Failure);
    EXPECT_EQ(bytesOf(copy()), "someone else's");
    EXPECT_EQ(QDir(folders.userFolder).entryList(QDir::Files), QStringList{"names.mdb"});
}

TEST_F(Folders, ALogLeftByARemovedCopyIsNotAppliedToTheNewOne) {
    makeDatabase(templatePath(), kEditionA);
    write(copy() + "-wal", "log of a removed copy");
    names::copyTemplate(templatePath(), copy());
    EXPECT_FALSE(QFileInfo::exists(copy() + "-wal"));
    EXPECT_EQ(namesIn(copy(), "system_lastname"), QStringList{"Archer"});
}

// A user's copy of edition A with a User List and a change to the built-in list.
class Refresh : public Folders {
protected:
    void SetUp() override {
        makeDatabase(templatePath(), kEditionA);
        names::copyTemplate(templatePath(), copy());
        execute(copy(), "insert into user_firstname (firstname) values ('Zelda')");
        execute(copy(), "insert into user_lastname (lastname) values ('Quill')");
        execute(copy(), "insert into system_lastname (Last) values ('Added')");
    }
    void expectUserListKept() {
        EXPECT_EQ(namesIn(copy(), "user_firstname"), QStringList{"Zelda"});
        EXPECT_EQ(namesIn(copy(), "user_lastname"), QStringList{"Quill"});
    }
};

TEST_F(Refresh, ANewerTemplateBringsItsBuiltInListsAndKeepsTheUserList) {
    makeDatabase(templatePath(), kEditionB);
    EXPECT_EQ(names::refreshBuiltInLists(templatePath(), copy()), RefreshResult::Refreshed);
    EXPECT_EQ(namesIn(copy(), "system_mfirstname"), kEditionB.maleFirst);
    EXPECT_EQ(namesIn(copy(), "system_ffirstname"), kEditionB.femaleFirst);
    EXPECT_EQ(namesIn(copy(), "system_lastname"), kEditionB.last);
    expectUserListKept();
    // The copy has taken on the template's edition: the next start leaves the
    // user's changes to the built-in list alone.
    execute(copy(), "insert into system_lastname (Last) values ('Added')");
    EXPECT_EQ(names::refreshBuiltInLists(templatePath(), copy()), RefreshResult::AlreadyCurrent);
    EXPECT_EQ(namesIn(copy(), "system_lastname"), kEditionB.last + QStringList{"Added"});
}

TEST_F(Refresh, AFailureHalfWayLeavesTheCopyAsItWas) {
    makeDatabase(templatePath(), kEditionB);
    // The last of the three tables cannot be copied: a name the copy cannot hold.
    execute(templatePath(), "drop table system_lastname");
    execute(templatePath(), "create table system_lastname (id integer primary key, Last text)");
    execute(templatePath(), "insert into system_lastname (Last) values (null)");
    EXPECT_THROW(names::refreshBuiltInLists(templatePath(), copy()), platform::Failure);
    EXPECT_EQ(namesIn(copy(), "system_mfirstname"), kEditionA.maleFirst);
    EXPECT_EQ(namesIn(copy(), "system_lastname"), (QStringList{"Archer", "Added"}));
    expectUserListKept();
}

TEST(BuiltInEdition, FollowsEveryNameAndTheListItStandsIn) {
    const names::NameTables base{{"Adam"}, {"Anna"}, {"Archer"}, {"Zelda"}, {}};
    names::NameTables otherUser = base;
    otherUser.userFirst = QStringList{"Yvonne"};
    names::NameTables otherLast = base;
    otherLast.last = QStringList{"Archer", "Abbot"};
    const names::NameTables moved{{"Adam", "Anna"}, {}, {"Archer"}, {"Zelda"}, {}};
    EXPECT_NE(names::builtInEdition(base), 0);
    EXPECT_EQ(names::builtInEdition(base), names::builtInEdition(otherUser));  // User List aside
    EXPECT_NE(names::builtInEdition(base), names::builtInEdition(otherLast));
    EXPECT_NE(names::builtInEdition(base), names::builtInEdition(moved));
    EXPECT_NE(names::builtInEdition({}), 0);
}

TEST(ProgramDatabaseFolders, TheUsersCopyFollowsXdgDataHome) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    EXPECT_EQ(names::programDatabaseFolders().userFolder, home.filePath("data/quillfern"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(names::programDatabaseFolders().userFolder, home.filePath(".local/share/quillfern"));
    qputenv("HOME", oldHome);
    if (!oldData.isNull()) qputenv("XDG_DATA_HOME", oldData);
}

}  // namespace
