// The statements of the name database, on temporary files.
#include <functional>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/statements.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/qt_printers.h"
#include "support/scoped_locale.h"
#include "support/temp_database.h"

namespace {

using names::AddTo;
using names::RemoveFrom;
using testsupport::TempDatabase;

QStringList queryAll(platform::Database& database, const names::ListQuery& query) {
    QStringList rows;
    platform::Query result = database.query(query.sql);
    const int column = result.column(query.column);
    while (result.next()) rows << result.text(column);
    return rows;
}

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Failure& failure) {
        return failure.description();
    }
    return QString();
}

TEST(Database, AMissingTableAndAClosedConnectionAreFailures) {
    TempDatabase db;
    db.execute("drop table user_lastname");
    platform::Database database;
    EXPECT_EQ(failureOf([&] { database.execute("delete from user_lastname"); }),
              "The database connection is not open");
    database.open(db.path());
    EXPECT_EQ(failureOf([&] { database.query(names::kUserLastNames.sql); }),
              "no such table: user_lastname");
    EXPECT_EQ(failureOf([&] { names::addName(database, AddTo::UserLastNames, "Ann"); }),
              "no such table: user_lastname");
}

TEST(Statements, StoredNameKeepsTheFirstFiftyCharactersWithoutSplittingALetter) {
    const QString fifty(50, 'a');
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // a surrogate pair
    const struct {
        QString name;
        QString stored;
    } cases[] = {
        {"Ann", "Ann"},
        {fifty, fifty},
        {fifty + "b", fifty},
        {QString(60, QChar(0xE9)), QString(50, QChar(0xE9))},
        {QString(49, 'a') + emoji, QString(49, 'a')},
        {QString(48, 'a') + emoji + "b", QString(48, 'a') + emoji},
    };
    for (const auto& c : cases) EXPECT_EQ(names::storedName(c.name), c.stored) << c.name.size();
}

TEST(Statements, EachAddGoesToItsTableAsABoundValueCutToFifty) {
    TempDatabase db;
    platform::Database database;
    database.open(db.path());
    const QString hostile = "x'); delete from user_lastname; --";
    names::addName(database, AddTo::BuiltInFirstNames, "Zoë");
    names::addName(database, AddTo::UserFirstNames, QString(60, 'q'));
    names::addName(database, AddTo::BuiltInLastNames, "Øster");
    names::addName(database, AddTo::UserLastNames, "Ann");
    names::addName(database, AddTo::UserLastNames, hostile);
    database.close();
    EXPECT_EQ(db.names("system_mfirstname"), QStringList());
    EXPECT_EQ(db.names("system_ffirstname"), QStringList{"Zoë"});
    EXPECT_EQ(db.names("user_firstname"), QStringList{QString(50, 'q')});
    EXPECT_EQ(db.names("system_lastname"), QStringList{"Øster"});
    EXPECT_EQ(db.names("user_lastname"), (QStringList{"Ann", hostile}));
}

TEST(Statements, RemovalTakesEveryRowEqualWithoutRegardToCaseBeyondAscii) {
    TempDatabase db({.maleFirst = {"Clara", "CLARA", "clara", "Clarissa", "élise", "Elise"},
                     .femaleFirst = {"ÉLISE", "Clara"},
                     .last = {"Øster", "ØSTER", "øster", "Oster"}});
    platform::Database database;
    database.open(db.path());
    names::removeName(database, RemoveFrom::BuiltInMaleFirstNames, "Clara");
    names::removeName(database, RemoveFrom::BuiltInMaleFirstNames, "Élise");
    names::removeName(database, RemoveFrom::BuiltInLastNames, "Øster");
    database.close();
    EXPECT_EQ(db.names("system_mfirstname"), (QStringList{"Clarissa", "Elise"}));
    EXPECT_EQ(db.names("system_ffirstname"), (QStringList{"ÉLISE", "Clara"}));
    EXPECT_EQ(db.names("system_lastname"), QStringList{"Oster"});
}

TEST(Statements, EmptyingOneUserTableLeavesTheOtherFour) {
    TempDatabase db({.maleFirst = {"Al"},
                     .femaleFirst = {"Bo"},
                     .last = {"Cy"},
                     .userFirst = {"Di", "Ed"},
                     .userLast = {"Fa"}});
    platform::Database database;
    database.open(db.path());
    names::emptyTable(database, names::UserTable::FirstNames);
    database.close();
    EXPECT_EQ(db.names("user_firstname"), QStringList());
    EXPECT_EQ(db.names("user_lastname"), QStringList{"Fa"});
    EXPECT_EQ(db.names("system_mfirstname"), QStringList{"Al"});
    EXPECT_EQ(db.names("system_ffirstname"), QStringList{"Bo"});
    EXPECT_EQ(db.names("system_lastname"), QStringList{"Cy"});
}

TEST(Statements, BuiltInFirstNameQueriesShowEachNameOnceWithoutRegardToCase) {
    const testsupport::ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    TempDatabase db(
        {.maleFirst = {"bob", "Anna", "Zoë", "Bob", "Émile", "André", "STRASSE"},
         .femaleFirst = {"ANNA", "carl", "ZOË", "anna", "ANDRÉ", "Andre", "Straße", "strasse"}});
    platform::Database database;
    database.open(db.path());
    QStringList both = queryAll(database, names::kBuiltInFirstNamesBoth);
    QStringList folded;
    for (const QString& name : both) folded << name.toCaseFolded();
    // Names differing in more than letter case stay apart (Andre and André,
    // strasse and Straße), as they always have.
    EXPECT_EQ(folded, (QStringList{"andre", "andré", "anna", "bob", "carl", "émile", "strasse",
                                   "straße", "zoë"}));
    EXPECT_EQ(queryAll(database, names::kBuiltInFirstNamesMale).size(), 6);
    EXPECT_EQ(queryAll(database, names::kBuiltInFirstNamesFemale).size(), 7);
}

TEST(Statements, ListQueriesOrderNamesByTheUsersLocaleIgnoringCase) {
    const QStringList stored{"Zoe",    "andre", "Émile", "Andrew", "Åberg", "André",
                             "Abbott", "ANDRE", "Eve",   "Øst",    "Ost",   "Oz"};
    const struct {
        QLocale locale;
        QStringList order;  // case-folded
    } cases[] = {
        {QLocale::c(),
         {"abbott", "åberg", "andre", "andre", "andré", "andrew", "émile", "eve", "ost", "øst",
          "oz", "zoe"}},
        {QLocale(QLocale::German, QLocale::Germany),
         {"abbott", "åberg", "andre", "andre", "andré", "andrew", "émile", "eve", "ost", "øst",
          "oz", "zoe"}},
        // Swedish sorts Å and Ø after Z.
        {QLocale(QLocale::Swedish, QLocale::Sweden),
         {"abbott", "andre", "andre", "andré", "andrew", "émile", "eve", "ost", "oz", "zoe",
          "åberg", "øst"}},
    };
    TempDatabase db({.last = stored, .userFirst = stored, .userLast = stored});
    for (const auto& c : cases) {
        const testsupport::ScopedLocale locale(c.locale);
        platform::Database database;
        database.open(db.path());
        for (const names::ListQuery& query :
             {names::kBuiltInLastNames, names::kUserFirstNames, names::kUserLastNames}) {
            QStringList folded;
            for (const QString& name : queryAll(database, query)) folded << name.toCaseFolded();
            EXPECT_EQ(folded, c.order) << c.locale.name().toStdString() << ": " << query.sql;
        }
    }
}

}  // namespace
