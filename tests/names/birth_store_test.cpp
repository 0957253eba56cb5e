// Births by decade and full weighted distributions: read from their file, kept
// in names.mdb, carried over by a refresh of the built-in lists.
#include <algorithm>

#include <gtest/gtest.h>

#include "names/birth_store.h"
#include "names/birth_table.h"
#include "names/database_location.h"
#include "names/name_database_file.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/gzip.h"
#include "support/qt_printers.h"
#include "support/temp_database.h"

namespace {

using names::ListedName;
using names::OriginEntry;
using names::OriginList;

const QByteArray kBirths =
    "name\tsex\t1950s\t1960s\n"
    "Jessie\tF\t700\t10\n"
    "Jessie\tM\t600\t4000\n"
    "Mary\tF\t30000\t20000\n";

OriginEntry origin(const QString& tag) {
    OriginEntry entry{{tag, tag + " names", "Latn", false, true, "test"}};
    entry[OriginList::Male] = {{"Adam", 0}};
    entry[OriginList::Last] = {{"Smith", 0}};
    return entry;
}

names::NameTables storeOfThree() {
    OriginEntry born = origin("us");
    born.birthsByDecade = testsupport::gzipped(kBirths);
    born[OriginList::Last] = {{"Smith", 1.0}};
    born.weightedLists[static_cast<std::size_t>(OriginList::Last)] = {{"Smith", 1.0}, {"Zed", 0.0}};
    OriginEntry weighted = origin("nz");
    weighted[OriginList::Male] = {{"Adam", 2.5}};
    names::NameTables tables;
    tables.origins = {born, weighted, origin("de")};
    tables.shown = {"us"};
    return tables;
}

TEST(BirthTable, ReadsDecadesRowsAndCounts) {
    const names::BirthTable table = names::readBirthTable(testsupport::gzipped(kBirths), "test");
    EXPECT_EQ(table.decades, (QList<int>{1950, 1960}));
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.nameOf(table.rows[1]), "Jessie");
    EXPECT_FALSE(table.rows[1].female);
    EXPECT_EQ(table.birthsOf(table.rows[1], 1), 4000u);
    EXPECT_EQ(table.birthsOf(table.rows[2], 0), 30000u);
}

TEST(BirthTable, RefusesWhatItCannotRead) {
    const std::vector<std::pair<QByteArray, QString>> cases{
        {"name\tsex\t1950s\n", "gzip"},  // left uncompressed below
        {"name\tsex\n", "header"},
        {"name\tsex\t1950s\t1970s\n", "rise"},
        {"name\tsex\t1950s\nMary\tX\t1\n", "sex"},
        {"name\tsex\t1950s\nMary\tF\tmany\n", "whole number"},
        {"name\tsex\t1950s\nMary\tF\t-1\n", "whole number"},
        {"name\tsex\t1950s\nMary\tF\t1\t2\n", "columns"},
        {"name\tsex\t1950s\t1960s\nMary\tF\t1\t\n", "whole number"},  // an empty last count
        {"name\tsex\t1950s\t1960s\nMary\tF\t\t2\n", "whole number"},  // an empty first one
        {"name\tsex\t1950s\nMary\tF\t12x\n", "whole number"},
        {"name\tsex\t1950s\nMary\tF\n", "columns"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [text, mentions] = cases[i];
        const QByteArray bytes = i == 0 ? text : testsupport::gzipped(text);
        try {
            names::readBirthTable(bytes, "test");
            ADD_FAILURE() << text.constData() << " accepted";
        } catch (const platform::Failure& failure) {
            EXPECT_TRUE(QString(failure.what()).contains(mentions)) << failure.what();
        }
    }
}

class BirthStore : public ::testing::Test {
protected:
    BirthStore() : db(storeOfThree()) { connection.open(db.path()); }
    testsupport::TempDatabase db;
    platform::Database connection;
};

TEST_F(BirthStore, KeepsTheBirthsAndTheFullDistributions) {
    EXPECT_EQ(names::storedBirths(connection, "us").rows.size(), 3u);
    EXPECT_TRUE(names::storedBirths(connection, "de").empty());
    OriginEntry us = origin("us");
    names::loadDistributions(connection, us);
    // Without the names of weight zero, which a weighted draw never takes.
    EXPECT_EQ(us.weightedList(OriginList::Last), (QList<ListedName>{{"Smith", 1.0}}));
    EXPECT_EQ(us.birthsByDecade, testsupport::gzipped(kBirths));
    // A list without a full distribution is its own.
    EXPECT_EQ(us.weightedList(OriginList::Male), us[OriginList::Male]);
}

TEST_F(BirthStore, SaysWhichOriginsCarryFrequenciesAndDecades) {
    using F = names::OriginFrequencies;
    const QMap<QString, F> expected{
        {"de", F{false, false}}, {"nz", F{true, false}}, {"us", F{true, true}}};
    const QMap<QString, F> stored = names::storedFrequencies(connection);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        EXPECT_EQ(stored.value(it.key()).frequencies, it->frequencies) << it.key().toStdString();
        EXPECT_EQ(stored.value(it.key()).decades, it->decades) << it.key().toStdString();
    }
    EXPECT_EQ(stored.size(), 3);
}

TEST(BirthRefresh, GivesACopyFromBeforeBirthsTheTemplatesBirths) {
    testsupport::TempDatabase copy(storeOfThree());
    copy.execute("drop table origin_births");
    copy.execute("drop table origin_weighted_name");
    copy.execute("update store_info set value = '2'");
    names::NameTables newer = storeOfThree();
    newer.origins[2][OriginList::Male].append({"Bert", 0});  // a new edition
    const testsupport::TempDatabase templateDb(newer);
    ASSERT_EQ(names::refreshBuiltInLists(templateDb.path(), copy.path()),
              names::RefreshResult::Refreshed);
    platform::Database connection;
    connection.open(copy.path());
    EXPECT_EQ(names::storedBirths(connection, "us").rows.size(), 3u);
    OriginEntry us = origin("us");
    names::loadDistributions(connection, us);
    EXPECT_EQ(us.weightedList(OriginList::Last).size(), 1);
    EXPECT_EQ(connection.firstValue("select value from store_info where key = 'schema'"),
              QString::number(names::kStoreSchemaVersion));
}

TEST(BuiltStore, TheUsOriginCarriesItsBirthsAndItsFullLastNames) {
    const testsupport::TempDatabase db(QStringLiteral(QF_BUILT_NAMES_DB));
    platform::Database connection;
    connection.open(db.path());
    const names::BirthTable births = names::storedBirths(connection, "en-US");
    EXPECT_EQ(births.decades.first(), 1880);
    EXPECT_GT(births.rows.size(), 100000u);
    OriginEntry us = names::originForDrawing(connection, "en-US");
    names::loadDistributions(connection, us);
    // The weighted draw has a list of its own, of names with a frequency; the
    // uniform list also holds names the census rounds to none.
    const QList<ListedName>& weighted = us.weightedList(OriginList::Last);
    EXPECT_NE(&weighted, &us[OriginList::Last]);
    EXPECT_TRUE(std::all_of(weighted.begin(), weighted.end(),
                            [](const ListedName& n) { return n.weight > 0; }));
    EXPECT_TRUE(std::any_of(us[OriginList::Last].begin(), us[OriginList::Last].end(),
                            [](const ListedName& n) { return n.weight == 0; }));
    const QMap<QString, names::OriginFrequencies> frequencies =
        names::storedFrequencies(connection);
    EXPECT_TRUE(frequencies["en-US"].decades);
    EXPECT_TRUE(frequencies["en-GB"].frequencies);
    EXPECT_FALSE(frequencies["en-GB"].decades);
    EXPECT_FALSE(frequencies["de"].frequencies);
}

}  // namespace
