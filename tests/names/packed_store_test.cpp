// Packed lists: the store's packs give the same lists for drawing as its rows
// with the user's changes applied, and bytes that do not match are refused.
#include <gtest/gtest.h>

#include "names/birth_store.h"
#include "names/origin_store.h"
#include "names/packed_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "support/temp_database.h"

namespace {

using names::ListedName;
using names::PackedOrigin;

// The lists through the rows of origin_name, as before packs.
PackedOrigin throughRows(platform::Database& db, const QString& tag, bool distributions) {
    names::OriginEntry entry = names::originForDrawing(db, tag);
    if (distributions) names::loadDistributions(db, entry);
    return names::packed(entry);
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
        for (bool distributions : {false, true})
            expectSameLists(names::packedForDrawing(db, origin.tag, distributions),
                            throughRows(db, origin.tag, distributions),
                            origin.tag + (distributions ? " with distributions" : ""));
}

TEST(PackedStore, TakesTheUsersChanges) {
    testsupport::TempDatabase copy{QStringLiteral(QF_BUILT_NAMES_DB)};
    platform::Database db;
    db.open(copy.path());
    names::showOrigins(db, {"en-US"});
    const QString gone = copy.names("system_mfirstname").first();
    copy.execute("delete from system_mfirstname where Mfirst = '" + gone + "'");
    copy.insert("system_lastname", "Quillbury");
    const PackedOrigin drawn = names::packedForDrawing(db, "en-US", false);
    expectSameLists(drawn, throughRows(db, "en-US", false), "en-US with changes");
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
