#include "names/packed_store.h"

#include <string>
#include <unordered_set>

#include "names/birth_store.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace names {

namespace {

bool hasPacks(platform::Database& database, const QString& tag) {
    const bool table = database
                           .firstValue(
                               "select count(*) from sqlite_master where type = 'table'"
                               " and name = 'origin_pack'")
                           .toInt() == 1;
    return table &&
           database.query("select 1 from origin_pack where origin = ? limit 1", {tag}).next();
}

OriginList listNamed(std::string_view word) {
    for (OriginList list : kOriginLists)
        if (word == listWord(list)) return list;
    throw platform::Failure(QStringLiteral("unknown name list ") +
                            QString::fromUtf8(word.data(), qsizetype(word.size())));
}

// Letter case folded, as the store compares names; ASCII without Qt.
std::string folded(std::string_view name) {
    std::string key(name);
    bool ascii = true;
    for (char& c : key) {
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (ascii) return key;
    return QString::fromUtf8(name.data(), qsizetype(name.size())).toCaseFolded().toStdString();
}

PackedNames without(const PackedNames& list, const std::unordered_set<std::string>& gone) {
    PackedNames kept;
    kept.text.reserve(list.text.size());
    for (std::uint32_t i = 0; i < list.size(); ++i)
        if (!gone.contains(folded(list.at(i)))) kept.append(list.at(i), list.weights[i]);
    return kept;
}

// As originForDrawing leaves an unchanged origin: a unisex name is drawn as
// unisex only, not as male or female too.
void keepUnisexApart(PackedOrigin& origin) {
    const PackedNames& unisex = origin[OriginList::Unisex];
    if (unisex.empty()) return;
    std::unordered_set<std::string> names;
    for (std::uint32_t i = 0; i < unisex.size(); ++i) names.insert(folded(unisex.at(i)));
    for (OriginList list : {OriginList::Male, OriginList::Female})
        origin[list] = without(origin[list], names);
}

PackedOrigin readPacks(platform::Database& database, const QString& tag, bool withDistributions) {
    PackedOrigin origin{storedOrigin(database, tag)};
    platform::Query rows = database.query(
        "select list, full, names, weights from origin_pack where origin = ? and full <= ?",
        {tag, withDistributions ? QStringLiteral("1") : QStringLiteral("0")});
    while (rows.next()) {
        const auto list = static_cast<std::size_t>(listNamed(rows.view(0)));
        auto& lists = rows.view(1) == "1" ? origin.weightedLists : origin.lists;
        lists[list] = unpacked(rows.view(2), rows.view(3));
    }
    keepUnisexApart(origin);
    if (withDistributions) origin.birthsByDecade = storedBirthBytes(database, tag);
    return origin;
}

}  // namespace

PackedOrigin packedForDrawing(platform::Database& database, const QString& tag,
                              bool withDistributions) {
    if (hasPacks(database, tag) && !hasEdits(database, tag))
        return readPacks(database, tag, withDistributions);
    OriginEntry entry = originForDrawing(database, tag);
    if (withDistributions) loadDistributions(database, entry);
    return packed(entry);
}

}  // namespace names
