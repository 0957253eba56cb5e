#include "generate/frequency_pools.h"

#include <algorithm>
#include <string>
#include <vector>

#include "generate/generation.h"
#include "names/birth_store.h"
#include "names/birth_table.h"
#include "names/packed_store.h"

namespace generate {

namespace {

using names::OriginList;

// True when shownName leaves the name as it is: ASCII letters, the first
// upper case and the rest lower case, as most names of long lists are. Those
// skip the conversion through UTF-16.
bool isShownAlready(std::string_view name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!(i == 0 ? (c >= 'A' && c <= 'Z') : (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

// Names as rows show them with their weights, gathered for one pool in one
// block of text.
struct PoolMaker {
    std::string text;
    std::vector<std::uint32_t> offsets{0};
    std::vector<double> weights;

    void add(std::string_view utf8, double weight) {
        if (isShownAlready(utf8)) {
            text.append(utf8);
        } else {
            const QByteArray shown =
                shownName(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
            text.append(shown.constData(), static_cast<std::size_t>(shown.size()));
        }
        offsets.push_back(static_cast<std::uint32_t>(text.size()));
        weights.push_back(weight);
    }
    NamePool uniform() { return NamePool(std::move(text), std::move(offsets)); }
    NamePool weighted() {
        if (weights.empty()) return {};
        return NamePool(std::move(text), std::move(offsets), weights);
    }
};

// isShownAlready for every name, in one pass over the letters that the
// compiler makes wide: every byte an ASCII letter and as many capitals as
// names, each name's first byte one of them.
bool allShownAlready(const names::PackedNames& list) {
    std::size_t capitals = 0;
    unsigned notLetters = 0;
    for (const char c : list.text) {
        const unsigned byte = static_cast<unsigned char>(c);
        notLetters |= ((byte | 0x20u) - 'a') >= 26u;
        capitals += (byte - 'A') < 26u;
    }
    if (notLetters != 0 || capitals != list.size()) return false;
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        const std::uint32_t at = list.offsets[i];
        if (at == list.offsets[i + 1] || list.text[at] < 'A' || list.text[at] > 'Z') return false;
    }
    return true;
}

// The list's names as rows show them, taken over whole when they need no
// change; the list is left empty then.
NamePool uniformPool(names::PackedNames& list) {
    if (allShownAlready(list)) return NamePool(std::move(list.text), std::move(list.offsets));
    PoolMaker pool;
    pool.text.reserve(list.text.size() + NamePool::kPadding);
    pool.offsets.reserve(list.offsets.size());
    for (std::uint32_t i = 0; i < list.size(); ++i) pool.add(list.at(i), 0);
    return pool.uniform();
}

// The list's weighted distribution without the names of weight zero; empty
// when no name has a weight. Taken over whole, as uniformPool, when every name
// has a weight and needs no change.
NamePool weightedPool(names::PackedNames& list) {
    const bool allWeighted =
        std::all_of(list.weights.begin(), list.weights.end(), [](double w) { return w > 0; });
    if (allWeighted && !list.empty() && allShownAlready(list))
        return NamePool(std::move(list.text), std::move(list.offsets), list.weights);
    PoolMaker pool;
    pool.text.reserve(list.text.size() + NamePool::kPadding);
    for (std::uint32_t i = 0; i < list.size(); ++i)
        if (list.weights[i] > 0) pool.add(list.at(i), list.weights[i]);
    return pool.weighted();
}

// The weighted pool where the list has weights, else the uniform one.
NamePool poolFor(names::PackedOrigin& origin, OriginList list, bool weighted, bool& gotWeights) {
    if (weighted) {
        NamePool pool = weightedPool(origin.weightedList(list));
        if (!pool.empty()) {
            gotWeights = true;
            return pool;
        }
    }
    return uniformPool(origin[list]);
}

void birthPools(names::BirthLists& lists, OriginNames& names) {
    names.femaleFirst = weightedPool(lists.female);
    names.maleFirst = weightedPool(lists.male);
    names.unisexFirst = weightedPool(lists.unisex);
}

// First names by their births over the range's decades (all of the table's
// without one), unisex by the rule over them.
names::BirthLists birthListsOver(const names::BirthTable& table, std::optional<DecadeRange> range) {
    const int start = table.decades.first();
    const auto column = [&](int decade) {
        return std::clamp<qsizetype>((decade - start) / 10, 0, table.decades.size());
    };
    const qsizetype first = range ? column(std::max(range->first, start)) : 0;
    const qsizetype end = range ? column(std::max(range->last + 10, start)) : table.decades.size();
    return names::birthLists(table, first, end);
}

// First names by their births: over all years as the store keeps them ready,
// or else summed from the births by decade.
void birthPools(names::PackedOrigin& origin, std::optional<DecadeRange> range, OriginNames& names) {
    if (!range && !origin.allYearsBirths.empty()) return birthPools(origin.allYearsBirths, names);
    const names::BirthTable table = names::readBirthTable(
        origin.birthsByDecade, origin.origin.tag + QStringLiteral(" births by decade"));
    names::BirthLists lists = birthListsOver(table, range);
    birthPools(lists, names);
}

[[noreturn]] void refuseDecades(const names::OriginRecord& origin, DecadeRange range) {
    throw ChoiceError("origin " + origin.tag.toStdString() + " (" +
                      origin.displayName.toStdString() +
                      ") has no names by birth decade, so it cannot be drawn for the " +
                      formatBirthDecades(range));
}

}  // namespace

FrequencyPools frequencyPools(const names::OriginEntry& origin, const FrequencyChoice& choice) {
    return frequencyPools(names::packed(origin), choice);
}

FrequencyPools frequencyPools(const names::PackedOrigin& origin, const FrequencyChoice& choice) {
    return frequencyPools(names::PackedOrigin(origin), choice);
}

FrequencyPools frequencyPools(names::PackedOrigin&& origin, const FrequencyChoice& choice) {
    if (choice.decades && origin.birthsByDecade.isEmpty())
        refuseDecades(origin.origin, *choice.decades);
    const bool hasBirths = !origin.birthsByDecade.isEmpty() || !origin.allYearsBirths.empty();

    FrequencyPools pools;
    OriginNames& names = pools.names;
    names.tag = origin.origin.tag.toStdString();
    names.displayName = origin.origin.displayName.toStdString();
    names.order = origin.origin.familyFirst ? NameOrder::FamilyFirst : NameOrder::GivenFirst;
    names.blankBetween = origin.origin.blankBetween;

    if (hasBirths && (choice.weighted || choice.decades)) {
        birthPools(origin, choice.decades, names);
        pools.weightedFirst = true;
    } else {
        names.femaleFirst =
            poolFor(origin, OriginList::Female, choice.weighted, pools.weightedFirst);
        names.maleFirst = poolFor(origin, OriginList::Male, choice.weighted, pools.weightedFirst);
        names.unisexFirst =
            poolFor(origin, OriginList::Unisex, choice.weighted, pools.weightedFirst);
    }
    names.lastNames = poolFor(origin, OriginList::Last, choice.weighted, pools.weightedLast);
    names.femaleLast = poolFor(origin, OriginList::LastFemale, choice.weighted, pools.weightedLast);
    names.maleLast = poolFor(origin, OriginList::LastMale, choice.weighted, pools.weightedLast);
    pools.lacksFrequencies = choice.weighted && !pools.weightedFirst && !pools.weightedLast;
    return pools;
}

FrequencyPools storedFrequencyPools(platform::Database& database, const QString& tag,
                                    const FrequencyChoice& choice) {
    const names::DrawData data = choice.decades    ? names::DrawData::ByDecade
                                 : choice.weighted ? names::DrawData::Weighted
                                                   : names::DrawData::Lists;
    return frequencyPools(names::packedForDrawing(database, tag, data), choice);
}

}  // namespace generate
