// Packed lists: the store's packs give the same lists for drawing as its rows
// with the user's changes applied, and bytes that do not match are refused.
#include <algorithm>

#include <gtest/gtest.h>

#include "names/birth_store.h"
#include "names/birth_table.h"
#include "names/origin_store.h"
#include "names/packed_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/temp_database.h"

namespace {

using names::ListedName;
using names::PackedOrigin;

using names::DrawData;

// The lists through the rows of origin_name, as before packs.
PackedOrigin throughRows(platform::Database& db, const QString& tag, DrawData data) {
    names::OriginEntry entry = names::originForDrawing(db, tag);
    if (data != DrawData::Lists) names::loadDistributions(db, entry);
    return names::packed(entry);
}

// The first names by their births over all years, from the births by decade.
names::BirthLists allYearsFromDecades(platform::Database& db, const QString& tag) {
    const names::BirthTable table = names::storedBirths(db, tag);
    return names::birthLists(table, 0, table.decades.size());
}

void expectSameLists(const PackedOrigin& a, const PackedOrigin& b, const QString& what) {
    EXPECT_EQ(a.origin, b.origin) << what.toStdString();
    EXPECT_EQ(a.lists, b.lists) << what.toStdString();
    EXPECT_EQ(a.weightedLists, b.weightedLists) << what.toStdString();
    EXPECT_EQ(a.birthsByDecade, b.birthsByDecade) << what.toStdString();
}

TEST(PackedStore, GivesTheListsOfTheRowsForEveryOriginWithAndWithoutDistributions) {
    platform::Database db;
    db.open(QStringLiteral(QF_BUILT_NAMES_DB));
    const QList<names::OriginRecord> origins = names::storedOrigins(db);
    ASSERT_FALSE(origins.isEmpty());
    for (const names::OriginRecord& origin : origins)
        for (DrawData data : {DrawData::Lists, DrawData::ByDecade})
            expectSameLists(names::packedForDrawing(db, origin.tag, data),
                            throughRows(db, origin.tag, data),
                            origin.tag + (data == DrawData::Lists ? "" : " with distributions"));
}

// Weighted draws take the first names' births over all years ready made,
// without the births by decade; a store without them gives those instead.
TEST(PackedStore, GivesTheBirthsOverAllYearsAsTheBirthsByDecadeSumThem) {
    testsupport::TempDatabase copy{QStringLiteral(QF_BUILT_NAMES_DB)};
    platform::Database db;
    db.open(copy.path());
    const PackedOrigin weighted = names::packedForDrawing(db, "en-US", DrawData::Weighted);
    ASSERT_FALSE(weighted.allYearsBirths.unisex.empty());
    EXPECT_EQ(weighted.allYearsBirths, allYearsFromDecades(db, "en-US"));
    EXPECT_TRUE(weighted.birthsByDecade.isEmpty());
    EXPECT_EQ(weighted.weightedLists, throughRows(db, "en-US", DrawData::Weighted).weightedLists);
    // The commonest names first, where the draw reads them most.
    const names::BirthLists& births = weighted.allYearsBirths;
    for (const names::PackedNames* list : {&births.female, &births.male, &births.unisex,
                                           &weighted.weightedList(names::OriginList::Last)})
        EXPECT_TRUE(std::is_sorted(list->weights.rbegin(), list->weights.rend()));
    copy.execute("delete from origin_pack where full = 2");
    const PackedOrigin older = names::packedForDrawing(db, "en-US", DrawData::Weighted);
    EXPECT_TRUE(older.allYearsBirths.empty());
    EXPECT_EQ(older.birthsByDecade, names::storedBirthBytes(db, "en-US"));
}

TEST(PackedStore, TakesTheUsersChanges) {
    testsupport::TempDatabase copy{QStringLiteral(QF_BUILT_NAMES_DB)};
    platform::Database db;
    db.open(copy.path());
    names::showOrigins(db, {"en-US"});
    const QString gone = copy.names("system_mfirstname").first();
    copy.execute("delete from system_mfirstname where Mfirst = '" + gone + "'");
    copy.insert("system_lastname", "Quillbury");
    const PackedOrigin drawn = names::packedForDrawing(db, "en-US", DrawData::Lists);
    expectSameLists(drawn, throughRows(db, "en-US", DrawData::Lists), "en-US with changes");
    const auto holds = [](const names::PackedNames& list, const QString& name) {
        for (std::uint32_t i = 0; i < list.size(); ++i)
            if (list.at(i) == name.toStdString()) return true;
        return false;
    };
    EXPECT_FALSE(holds(drawn[names::OriginList::Male], gone));
    EXPECT_TRUE(holds(drawn[names::OriginList::Last], "Quillbury"));
}

TEST(PackedNames, BytesComeBackAsTheyWereAndMismatchesAreRefused) {
    const QList<ListedName> list{{"Zoë", 2.5}, {"Ann", 0}, {"李", 1e-9}};
    const names::PackedBytes bytes = names::packedBytes(list);
    const auto view = [](const QByteArray& b) { return std::string_view(b.constData(), b.size()); };
    EXPECT_EQ(names::unpacked(view(bytes.names), view(bytes.weights)), names::packed(list));
    const std::vector<std::pair<QByteArray, QByteArray>> refused{
        {bytes.names, bytes.weights.left(bytes.weights.size() - 1)},  // cut short
        {bytes.names + "\nEve", bytes.weights},                       // a name too many
        {bytes.names, bytes.weights + bytes.weights},                 // weights too many
        {bytes.names, {}},                                            // names without weights
    };
    for (const auto& [names, weights] : refused)
        EXPECT_THROW(names::unpacked(view(names), view(weights)), platform::Failure);
}

}  // namespace
