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

// Where a pack of the given kind goes: full 0 is a list, 1 a full
// distribution, 2 first names by their births over all years.
PackedNames& packFor(PackedOrigin& origin, OriginList list, std::string_view full) {
    if (full == "0") return origin[list];
    if (full == "1") return origin.weightedLists[static_cast<std::size_t>(list)];
    BirthLists& births = origin.allYearsBirths;
    if (full == "2" && list == OriginList::Female) return births.female;
    if (full == "2" && list == OriginList::Male) return births.male;
    if (full == "2" && list == OriginList::Unisex) return births.unisex;
    throw platform::Failure(QStringLiteral("unknown kind of packed list"));
}

// The origin's packs of the kinds from `firstFull` to `lastFull`.
void readPacks(platform::Database& database, const QString& tag, int firstFull, int lastFull,
               PackedOrigin& origin) {
    platform::Query rows = database.query(
        "select list, full, names, weights from origin_pack"
        " where origin = ? and full between ? and ?",
        {tag, QString::number(firstFull), QString::number(lastFull)});
    while (rows.next())
        packFor(origin, listNamed(rows.view(0)), rows.view(1)) =
            unpacked(rows.view(2), rows.view(3));
}

// The last kind of pack that `data` reads (packFor).
int lastPackFor(DrawData data) {
    switch (data) {
        case DrawData::Lists:
            return 0;
        case DrawData::ByDecade:
            return 1;
        case DrawData::Weighted:
            break;
    }
    return 2;
}

// Through the rows, the user's edits applied; the births are read by the caller.
PackedOrigin packedWithEdits(platform::Database& database, const QString& tag, DrawData data) {
    OriginEntry entry = originForDrawing(database, tag);
    if (data != DrawData::Lists) loadWeightedLists(database, entry);
    return packed(entry);
}

}  // namespace

PackedOrigin packedForDrawing(platform::Database& database, const QString& tag, DrawData data) {
    const bool packs = hasPacks(database, tag);
    PackedOrigin origin;
    if (packs && !hasEdits(database, tag)) {
        origin.origin = storedOrigin(database, tag);
        readPacks(database, tag, 0, lastPackFor(data), origin);
        keepUnisexApart(origin);
    } else {
        origin = packedWithEdits(database, tag, data);
        // The births over all years are no list the user edits.
        if (packs && data == DrawData::Weighted) readPacks(database, tag, 2, 2, origin);
    }
    const bool needsDecades =
        data == DrawData::ByDecade || (data == DrawData::Weighted && origin.allYearsBirths.empty());
    if (needsDecades) origin.birthsByDecade = storedBirthBytes(database, tag);
    return origin;
}

}  // namespace names
