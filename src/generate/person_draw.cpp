#include "generate/person_draw.h"

#include <cmath>
#include <numeric>

#include <QString>

#include "platform/failure.h"

namespace generate {

namespace {

QString originName(const OriginNames& origin) {
    return QStringLiteral("origin %1 (%2)")
        .arg(QString::fromStdString(origin.tag), QString::fromStdString(origin.displayName));
}

const char* sexWord(Sex sex) {
    switch (sex) {
        case Sex::Female:
            return "female";
        case Sex::Male:
            return "male";
        case Sex::Unisex:
            return "unisex";
    }
    return "";
}

const NamePool& firstNames(const OriginNames& origin, Sex sex) {
    switch (sex) {
        case Sex::Female:
            return origin.femaleFirst;
        case Sex::Male:
            return origin.maleFirst;
        case Sex::Unisex:
            return origin.unisexFirst;
    }
    return origin.femaleFirst;
}

// The sexes the filter draws in this origin; Failure when it lacks their names.
std::vector<Sex> sexesOf(const OriginNames& origin, GenderFilter gender) {
    std::vector<Sex> sexes;
    switch (gender) {
        case GenderFilter::Both:
            sexes = {Sex::Female, Sex::Male};
            break;
        case GenderFilter::Female:
            sexes = {Sex::Female};
            break;
        case GenderFilter::Male:
            sexes = {Sex::Male};
            break;
        case GenderFilter::Unisex:
            sexes = {Sex::Unisex};
            break;
        case GenderFilter::Any:
            sexes = {Sex::Female, Sex::Male};
            if (!origin.unisexFirst.empty()) sexes.push_back(Sex::Unisex);
            break;
    }
    for (Sex sex : sexes) {
        if (firstNames(origin, sex).empty())
            throw platform::Failure(
                QStringLiteral("%1 has no %2 first names").arg(originName(origin), sexWord(sex)));
    }
    return sexes;
}

void checkFamilyNames(const OriginNames& origin) {
    if (!origin.hasGenderedSurnames()) {
        if (origin.lastNames.empty())
            throw platform::Failure(
                QStringLiteral("%1 has no family names").arg(originName(origin)));
        return;
    }
    if (!origin.lastNames.empty())
        throw platform::Failure(
            QStringLiteral("%1 has both one list of family names and female and male forms")
                .arg(originName(origin)));
    if (origin.femaleLast.empty() || origin.maleLast.empty())
        throw platform::Failure(
            QStringLiteral("%1 has only the %2 form of its family names")
                .arg(originName(origin), origin.femaleLast.empty() ? "male" : "female"));
}

// The family-name lists a person of this sex draws from, with their odds.
std::vector<std::pair<const NamePool*, double>> surnamesFor(const OriginNames& origin, Sex sex) {
    if (!origin.hasGenderedSurnames()) return {{&origin.lastNames, 1.0}};
    switch (sex) {
        case Sex::Female:
            return {{&origin.femaleLast, 1.0}};
        case Sex::Male:
            return {{&origin.maleLast, 1.0}};
        case Sex::Unisex:
            return {{&origin.femaleLast, 0.5}, {&origin.maleLast, 0.5}};
    }
    return {};
}

std::vector<double> sharesOf(const std::vector<OriginNames>& origins,
                             const std::vector<double>& given) {
    if (origins.empty()) throw platform::Failure(QStringLiteral("No origins to draw from"));
    if (given.empty()) return std::vector<double>(origins.size(), 1.0 / origins.size());
    if (given.size() != origins.size())
        throw platform::Failure(
            QStringLiteral("%1 shares for %2 origins").arg(given.size()).arg(origins.size()));
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (!std::isfinite(given[i]) || given[i] <= 0)
            throw platform::Failure(QStringLiteral("The share of %1 is not a positive number")
                                        .arg(originName(origins[i])));
    }
    double total = 0;
    for (double share : given) total += share / given.size();  // stays finite
    std::vector<double> shares;
    for (double share : given) shares.push_back(share / given.size() / total);
    return shares;
}

}  // namespace

PersonDraw::PersonDraw(std::vector<OriginNames> origins, DrawChoice choice)
    : origins_(std::move(origins)), mix_(choice.mix) {
    const std::vector<double> shares = sharesOf(origins_, choice.shares);
    for (const OriginNames& origin : origins_) checkFamilyNames(origin);
    buildSlots(shares, choice.gender);
    if (mix_) buildSurnameSlots(shares);
}

void PersonDraw::nextBatch(FastRandom& random, std::span<Person> persons,
                           std::span<FastRandom> after) const {
    if (mix_ || persons.size() > kMaxBatch) {
        for (std::size_t j = 0; j < persons.size(); ++j) {
            persons[j] = next(random);
            if (!after.empty()) after[j] = random;
        }
        return;
    }
    struct Pending {
        const Slot* slot;
        std::uint64_t first;  // the random numbers of the two names,
        std::uint64_t last;   // then their indices in the pools
    };
    std::array<Pending, kMaxBatch> pending;
    const std::size_t n = persons.size();
    for (std::size_t j = 0; j < n; ++j) {
        Pending& p = pending[j];
        p.slot = &slots_[slotTable_->draw(random.next())];
        p.first = random.next();
        p.last = random.next();
        if (!after.empty()) after[j] = random;
        p.slot->first->prefetchDraw(p.first);
        p.slot->last->prefetchDraw(p.last);
    }
    for (std::size_t j = 0; j < n; ++j) {
        Pending& p = pending[j];
        p.first = p.slot->first->drawIndex(p.first);
        p.last = p.slot->last->drawIndex(p.last);
        p.slot->first->prefetchPlace(static_cast<std::uint32_t>(p.first));
        p.slot->last->prefetchPlace(static_cast<std::uint32_t>(p.last));
    }
    for (std::size_t j = 0; j < n; ++j) {
        const Pending& p = pending[j];
        p.slot->first->prefetchName(static_cast<std::uint32_t>(p.first));
        p.slot->last->prefetchName(static_cast<std::uint32_t>(p.last));
    }
    for (std::size_t j = 0; j < n; ++j) {
        const Pending& p = pending[j];
        Person& person = persons[j];
        person.first = p.slot->first->at(static_cast<std::uint32_t>(p.first));
        person.last = p.slot->last->at(static_cast<std::uint32_t>(p.last));
        person.origin = p.slot->origin;
        person.lastOrigin = p.slot->origin;
        person.sex = p.slot->sex;
        person.order = p.slot->order;
        person.blankBetween = p.slot->blankBetween;
    }
}

void PersonDraw::drawMixedSurname(FastRandom& random, Person& person) const {
    const auto sex = static_cast<std::size_t>(person.sex);
    const SurnameSlot& surname = surnameSlots_[sex][surnameTables_[sex]->draw(random.next())];
    person.last = surname.last->draw(random.next());
    person.lastOrigin = surname.origin;
}

void PersonDraw::buildSlots(const std::vector<double>& shares, GenderFilter gender) {
    std::vector<double> weights;
    for (std::uint32_t o = 0; o < origins_.size(); ++o) {
        const OriginNames& origin = origins_[o];
        const std::vector<Sex> sexes = sexesOf(origin, gender);
        for (Sex sex : sexes) {
            for (const auto& [last, odds] : surnamesFor(origin, sex)) {
                slots_.push_back(Slot{&firstNames(origin, sex), last, o, sex, origin.order,
                                      origin.blankBetween});
                weights.push_back(shares[o] / sexes.size() * odds);
            }
        }
    }
    slotTable_.emplace(weights);
}

void PersonDraw::buildSurnameSlots(const std::vector<double>& shares) {
    for (Sex sex : {Sex::Female, Sex::Male, Sex::Unisex}) {
        const auto s = static_cast<std::size_t>(sex);
        std::vector<double> weights;
        for (std::uint32_t o = 0; o < origins_.size(); ++o) {
            for (const auto& [last, odds] : surnamesFor(origins_[o], sex)) {
                surnameSlots_[s].push_back(SurnameSlot{last, o});
                weights.push_back(shares[o] * odds);
            }
        }
        surnameTables_[s].emplace(weights);
    }
}

}  // namespace generate
