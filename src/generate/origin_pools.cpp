#include "generate/origin_pools.h"

#include <string>
#include <vector>

#include <QSet>

#include "generate/generation.h"

namespace generate {

namespace {

using names::ListedName;
using names::OriginList;

QSet<QString> foldedSet(const QStringList& names) {
    QSet<QString> set;
    set.reserve(names.size());
    for (const QString& name : names) set.insert(name.toCaseFolded());
    return set;
}

// A list's names as rows show them, those the filter keeps, with their weights.
NamePool poolOf(const QList<ListedName>& list, bool weighted, const QSet<QString>& shown) {
    std::vector<std::string> names;
    std::vector<double> weights;
    names.reserve(static_cast<std::size_t>(list.size()));
    double total = 0;
    for (const ListedName& listed : list) {
        if (!shown.isEmpty() && !shown.contains(listed.name.toCaseFolded())) continue;
        names.push_back(shownName(listed.name).toStdString());
        weights.push_back(listed.weight);
        total += listed.weight;
    }
    if (weighted && total > 0) return NamePool(std::span<const std::string>(names), weights);
    return NamePool(std::span<const std::string>(names));
}

}  // namespace

bool hasWeights(const names::OriginEntry& origin) {
    for (const QList<ListedName>& list : origin.lists)
        for (const ListedName& listed : list)
            if (listed.weight > 0) return true;
    return false;
}

namespace {

OriginNames poolsOf(const names::OriginEntry& origin, const PoolChoice& choice,
                    const QSet<QString>& first, const QSet<QString>& last) {
    const auto pool = [&](OriginList list, const QSet<QString>& shown) {
        return poolOf(origin[list], choice.weighted, shown);
    };
    OriginNames names;
    names.tag = origin.origin.tag.toStdString();
    names.displayName = origin.origin.displayName.toStdString();
    names.order = origin.origin.familyFirst ? NameOrder::FamilyFirst : NameOrder::GivenFirst;
    names.blankBetween = origin.origin.blankBetween;
    if (choice.unisexAsFemaleAndMale) {
        const QList<ListedName>& unisex = origin[OriginList::Unisex];
        names.femaleFirst = poolOf(origin[OriginList::Female] + unisex, choice.weighted, first);
        names.maleFirst = poolOf(origin[OriginList::Male] + unisex, choice.weighted, first);
    } else {
        names.femaleFirst = pool(OriginList::Female, first);
        names.maleFirst = pool(OriginList::Male, first);
        names.unisexFirst = pool(OriginList::Unisex, first);
    }
    names.lastNames = pool(OriginList::Last, last);
    names.femaleLast = pool(OriginList::LastFemale, last);
    names.maleLast = pool(OriginList::LastMale, last);
    return names;
}

}  // namespace

OriginNames originNames(const names::OriginEntry& origin, const PoolChoice& choice) {
    return poolsOf(origin, choice, foldedSet(choice.shownFirstNames),
                   foldedSet(choice.shownLastNames));
}

std::vector<OriginNames> originNames(const QList<names::OriginEntry>& origins,
                                     const PoolChoice& choice) {
    const QSet<QString> first = foldedSet(choice.shownFirstNames);
    const QSet<QString> last = foldedSet(choice.shownLastNames);
    std::vector<OriginNames> names;
    names.reserve(static_cast<std::size_t>(origins.size()));
    for (const names::OriginEntry& origin : origins)
        names.push_back(poolsOf(origin, choice, first, last));
    return names;
}

}  // namespace generate
