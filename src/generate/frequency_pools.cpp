#include "generate/frequency_pools.h"

#include <algorithm>
#include <string>
#include <vector>

#include "generate/generation.h"
#include "names/birth_store.h"
#include "names/birth_table.h"
#include "names/origin_store.h"

namespace generate {

namespace {

using names::ListedName;
using names::OriginList;

// True when shownName leaves the name as it is: ASCII letters, the first
// upper case and the rest lower case, as most names of long lists are. Those
// skip the conversion through UTF-16.
char32_t codeOf(QChar c) {
    return c.unicode();
}
char32_t codeOf(char c) {
    return static_cast<unsigned char>(c);
}

template <typename Text>
bool isShownAlready(const Text& name) {
    if (name.size() == 0) return false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(name.size()); ++i) {
        const char32_t c = codeOf(name[i]);
        if (!(i == 0 ? (c >= 'A' && c <= 'Z') : (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

// Names as rows show them with their weights, gathered for one pool.
struct PoolMaker {
    std::vector<std::string> names;
    std::vector<double> weights;

    void add(const QString& name, double weight) {
        if (isShownAlready(name))
            names.push_back(name.toStdString());
        else
            names.push_back(shownName(name).toStdString());
        weights.push_back(weight);
    }
    void add(std::string_view utf8, double weight) {
        if (isShownAlready(utf8))
            names.emplace_back(utf8);
        else
            names.push_back(
                shownName(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))).toStdString());
        weights.push_back(weight);
    }
    NamePool uniform() const { return NamePool(std::span<const std::string>(names)); }
    NamePool weighted() const {
        if (names.empty()) return {};
        return NamePool(std::span<const std::string>(names), weights);
    }
};

NamePool uniformPool(const QList<ListedName>& list) {
    PoolMaker pool;
    for (const ListedName& listed : list) pool.add(listed.name, 0);
    return pool.uniform();
}

// The list's weighted distribution without the names of weight zero; empty
// when no name has a weight.
NamePool weightedPool(const QList<ListedName>& list) {
    PoolMaker pool;
    for (const ListedName& listed : list)
        if (listed.weight > 0) pool.add(listed.name, listed.weight);
    return pool.weighted();
}

// The weighted pool where the list has weights, else the uniform one.
NamePool poolFor(const names::OriginEntry& origin, OriginList list, bool weighted,
                 bool& gotWeights) {
    if (weighted) {
        NamePool pool = weightedPool(origin.weightedList(list));
        if (!pool.empty()) {
            gotWeights = true;
            return pool;
        }
    }
    return uniformPool(origin[list]);
}

// One name's births over the chosen decades.
struct NameSum {
    std::string_view name;
    SexBirths births;
};

// Each name's births over the range's decades (all of the table's without
// one), from the table's rows, which hold a name's two sexes one after the other.
std::vector<NameSum> sumsOver(const names::BirthTable& table, std::optional<DecadeRange> range) {
    const int start = table.decades.first();
    const auto column = [&](int decade) {
        return std::clamp<qsizetype>((decade - start) / 10, 0, table.decades.size());
    };
    const qsizetype first = range ? column(std::max(range->first, start)) : 0;
    const qsizetype end = range ? column(std::max(range->last + 10, start)) : table.decades.size();
    std::vector<NameSum> sums;
    for (const names::BirthTable::Row& row : table.rows) {
        const std::string_view name = table.nameOf(row);
        if (sums.empty() || sums.back().name != name) sums.push_back({name, {}});
        std::uint64_t& count = row.female ? sums.back().births.female : sums.back().births.male;
        for (qsizetype c = first; c < end; ++c) count += table.birthsOf(row, c);
    }
    return sums;
}

// First names by their births over the range, unisex by the rule over it.
void birthPools(const names::BirthTable& table, std::optional<DecadeRange> range,
                OriginNames& names) {
    PoolMaker female, male, unisex;
    for (const NameSum& sum : sumsOver(table, range)) {
        const SexBirths& b = sum.births;
        if (isUnisex(b)) {
            unisex.add(sum.name, static_cast<double>(b.total()));
            continue;
        }
        if (b.female > 0) female.add(sum.name, static_cast<double>(b.female));
        if (b.male > 0) male.add(sum.name, static_cast<double>(b.male));
    }
    names.femaleFirst = female.weighted();
    names.maleFirst = male.weighted();
    names.unisexFirst = unisex.weighted();
}

[[noreturn]] void refuseDecades(const names::OriginRecord& origin, DecadeRange range) {
    throw ChoiceError("origin " + origin.tag.toStdString() + " (" +
                      origin.displayName.toStdString() +
                      ") has no names by birth decade, so it cannot be drawn for the " +
                      formatBirthDecades(range));
}

}  // namespace

FrequencyPools frequencyPools(const names::OriginEntry& origin, const FrequencyChoice& choice) {
    const bool hasBirths = !origin.birthsByDecade.isEmpty();
    if (choice.decades && !hasBirths) refuseDecades(origin.origin, *choice.decades);

    FrequencyPools pools;
    OriginNames& names = pools.names;
    names.tag = origin.origin.tag.toStdString();
    names.displayName = origin.origin.displayName.toStdString();
    names.order = origin.origin.familyFirst ? NameOrder::FamilyFirst : NameOrder::GivenFirst;
    names.blankBetween = origin.origin.blankBetween;

    if (hasBirths && (choice.weighted || choice.decades)) {
        const names::BirthTable table = names::readBirthTable(
            origin.birthsByDecade, origin.origin.tag + QStringLiteral(" births by decade"));
        birthPools(table, choice.decades, names);
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
    names::OriginEntry origin = names::originForDrawing(database, tag);
    if (choice.weighted || choice.decades) names::loadDistributions(database, origin);
    return frequencyPools(origin, choice);
}

}  // namespace generate
