// The origins in names.mdb: the built-in tables show the chosen origins, the
// user's changes to them are kept per origin, and a refresh of the built-in
// names keeps those changes.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/database_location.h"
#include "names/name_database_file.h"
#include "names/origin_store.h"
#include "names/statements.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/qt_printers.h"
#include "support/temp_database.h"

namespace {

using names::ListedName;
using names::OriginEntry;
using names::OriginList;

QList<ListedName> listed(const QStringList& names, double weight = 0) {
    QList<ListedName> list;
    for (const QString& name : names) list.append({name, weight});
    return list;
}

OriginEntry origin(const QString& tag, const QStringList& male, const QStringList& female,
                   const QStringList& last) {
    OriginEntry entry{{tag, tag + " names", "Latn", false, true, "test"}};
    entry[OriginList::Male] = listed(male);
    entry[OriginList::Female] = listed(female);
    entry[OriginList::Last] = listed(last);
    return entry;
}

names::NameTables twoOrigins() {
    OriginEntry cs{{"cs", "Czech", "Latn", false, true, "test"}};
    cs[OriginList::Male] = listed({"Jan", "Petr"});
    cs[OriginList::Female] = listed({"Eva", "Jana"});
    cs[OriginList::Unisex] = listed({"Saša"});
    cs[OriginList::LastMale] = listed({"Novák", "Svoboda"}, 2);
    cs[OriginList::LastFemale] = listed({"Nováková", "Svobodová"}, 1);
    names::NameTables tables;
    tables.origins = {cs, origin("en-US", {"Adam"}, {"Amy"}, {"Smith", "Jones"})};
    return tables;
}

class OriginStore : public ::testing::Test {
protected:
    OriginStore() : db(twoOrigins()) { connection.open(db.path()); }
    QStringList table(const char* name) const { return db.names(name); }

    testsupport::TempDatabase db;
    platform::Database connection;
};

TEST_F(OriginStore, ANewDatabaseShowsTheFallbackOrigin) {
    EXPECT_EQ(names::shownOrigins(connection), QStringList{"en-US"});
    EXPECT_EQ(table("system_mfirstname"), QStringList{"Adam"});
    EXPECT_EQ(table("system_lastname"), (QStringList{"Smith", "Jones"}));
    const QList<names::OriginRecord> stored = names::storedOrigins(connection);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].tag, "cs");
    EXPECT_EQ(names::storedCounts(connection, "cs")[static_cast<int>(OriginList::LastFemale)], 2);
}

TEST_F(OriginStore, TablesShowEveryChosenOriginAndUnisexNamesInBothFirstNameTables) {
    names::showOrigins(connection, {"cs", "en-US"});
    EXPECT_EQ(table("system_mfirstname"), (QStringList{"Jan", "Petr", "Saša", "Adam"}));
    EXPECT_EQ(table("system_ffirstname"), (QStringList{"Eva", "Jana", "Saša", "Amy"}));
    EXPECT_EQ(table("system_lastname"),
              (QStringList{"Novák", "Svoboda", "Nováková", "Svobodová", "Smith", "Jones"}));
    EXPECT_THROW(names::showOrigins(connection, {"xx"}), platform::Failure);
    EXPECT_EQ(names::shownOrigins(connection), (QStringList{"cs", "en-US"}));
}

TEST_F(OriginStore, TheUsersChangesStayWithTheirOriginAcrossSwitches) {
    names::showOrigins(connection, {"cs"});
    names::addName(connection, names::AddTo::BuiltInFirstNames, "Zdena");
    names::addName(connection, names::AddTo::BuiltInLastNames, "Dvořák");
    names::removeName(connection, names::RemoveFrom::BuiltInMaleFirstNames, "PETR");
    names::showOrigins(connection, {"en-US"});
    EXPECT_EQ(table("system_ffirstname"), QStringList{"Amy"});
    names::showOrigins(connection, {"cs"});
    EXPECT_EQ(table("system_mfirstname"), (QStringList{"Jan", "Saša"}));
    EXPECT_EQ(table("system_ffirstname"), (QStringList{"Eva", "Jana", "Saša", "Zdena"}));
    EXPECT_TRUE(table("system_lastname").contains("Dvořák"));

    // Removed after being added: gone again.
    names::removeName(connection, names::RemoveFrom::BuiltInFemaleFirstNames, "zdena");
    names::showOrigins(connection, {"en-US"});
    names::showOrigins(connection, {"cs"});
    EXPECT_FALSE(table("system_ffirstname").contains("Zdena"));
}

TEST_F(OriginStore, AChangedOriginBesideAnUnchangedOneKeepsTheChosenOrder) {
    names::showOrigins(connection, {"cs"});
    names::addName(connection, names::AddTo::BuiltInFirstNames, "Zdena");
    names::showOrigins(connection, {"en-US", "cs"});
    EXPECT_EQ(table("system_ffirstname"), (QStringList{"Amy", "Eva", "Jana", "Saša", "Zdena"}));
    EXPECT_EQ(table("system_lastname"),
              (QStringList{"Smith", "Jones", "Novák", "Svoboda", "Nováková", "Svobodová"}));
}

TEST_F(OriginStore, DrawingListsFollowTheUsersChanges) {
    names::showOrigins(connection, {"cs"});
    names::addName(connection, names::AddTo::BuiltInFirstNames, "Zdena");
    names::addName(connection, names::AddTo::BuiltInLastNames, "Dvořák");
    // Saša stays only among the female names: no longer unisex.
    names::removeName(connection, names::RemoveFrom::BuiltInMaleFirstNames, "Saša");
    const OriginEntry drawn = names::originForDrawing(connection, "cs");
    const auto names = [&](OriginList list) {
        QStringList shown;
        for (const ListedName& name : drawn[list]) shown.append(name.name);
        return shown;
    };
    EXPECT_EQ(names(OriginList::Male), (QStringList{"Jan", "Petr"}));
    EXPECT_EQ(names(OriginList::Female), (QStringList{"Eva", "Jana", "Saša", "Zdena"}));
    EXPECT_TRUE(names(OriginList::Unisex).isEmpty());
    // An added surname takes both forms, with the rarest weight of each list.
    EXPECT_EQ(drawn[OriginList::LastMale].last(), (ListedName{"Dvořák", 2}));
    EXPECT_EQ(drawn[OriginList::LastFemale].last(), (ListedName{"Dvořák", 1}));
    EXPECT_EQ(drawn[OriginList::LastFemale].size(), 3);
}

TEST(OriginStoreWithoutOrigins, KeepsItsTablesAsTheyAre) {
    testsupport::TempDatabase db(names::NameTables{{"Al"}, {"Bo"}, {"Cy"}, {}, {}});
    platform::Database connection;
    connection.open(db.path());
    names::showOrigins(connection, {"en-US"});
    EXPECT_EQ(db.names("system_lastname"), QStringList{"Cy"});
    EXPECT_TRUE(names::storedOrigins(connection).isEmpty());
}

// A refresh of the built-in names: from the template's names, with the user's
// changes, showing the same origins.
TEST(OriginRefresh, KeepsTheUsersChangesAndTheShownOrigins) {
    names::NameTables older = twoOrigins();
    testsupport::TempDatabase copy(older);
    {
        platform::Database connection;
        connection.open(copy.path());
        names::showOrigins(connection, {"cs"});
        names::addName(connection, names::AddTo::BuiltInLastNames, "Dvořák");
        names::addName(connection, names::AddTo::UserFirstNames, "Mine");
    }
    names::NameTables newer = twoOrigins();
    newer.origins[0][OriginList::Male].append({"Tomáš", 0});
    const testsupport::TempDatabase templateDb(newer);
    EXPECT_EQ(names::refreshBuiltInLists(templateDb.path(), copy.path()),
              names::RefreshResult::Refreshed);
    EXPECT_TRUE(copy.names("system_mfirstname").contains("Tomáš"));
    EXPECT_TRUE(copy.names("system_lastname").contains("Dvořák"));
    EXPECT_EQ(copy.names("user_firstname"), QStringList{"Mine"});
}

TEST(OriginRefresh, GivesACopyWithoutOriginsTheTemplatesOrigins) {
    // A copy made before the store knew origins: the five tables alone.
    testsupport::TempDatabase copy(names::NameTables{{"Al"}, {"Bo"}, {"Cy"}, {"Mine"}, {}});
    for (const char* table : {"system_mfirstname", "system_ffirstname", "system_lastname"})
        for (const char* change : {"added", "removed"})
            copy.execute(QStringLiteral("drop trigger %1_%2").arg(table, change));
    for (const char* table : {"store_info", "origin", "origin_name", "origin_edit", "shown_origin"})
        copy.execute(QStringLiteral("drop table ") + table);
    const testsupport::TempDatabase templateDb(twoOrigins());
    names::refreshBuiltInLists(templateDb.path(), copy.path());
    EXPECT_EQ(copy.names("system_lastname"), (QStringList{"Smith", "Jones"}));
    EXPECT_EQ(copy.names("user_firstname"), QStringList{"Mine"});
    platform::Database connection;
    connection.open(copy.path());
    EXPECT_EQ(names::storedOrigins(connection).size(), 2);
}

}  // namespace
