#include "generate/invented_persons.h"

#include <algorithm>

#include "generate/name_model.h"
#include "generate/name_model_text.h"
#include "platform/failure.h"

namespace generate {

int InventionPlan::listOf(List list) {
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (lists[i].described == list.described && lists[i].filters == list.filters)
            return static_cast<int>(i);
    lists.push_back(std::move(list));
    return static_cast<int>(lists.size() - 1);
}

OtherSexNames otherSexNames(const names::OriginEntry& origin, Sex sex) {
    const bool male = sex == Sex::Male;
    OtherSexNames other{male ? names::femaleTableNames(origin) : names::maleTableNames(origin), {}};
    if (origin.hasGenderedSurnames())
        other.last = names::namesOf(
            origin[male ? names::OriginList::LastFemale : names::OriginList::LastMale]);
    return other;
}

namespace {

[[noreturn]] void failFor(const QString& described, const InventFailure& failure) {
    throw platform::Failure(described + QStringLiteral(": ") + QString::fromUtf8(failure.what()));
}

}  // namespace

// One list's model and its inventor.
class InventedPersons::Part {
public:
    Part(const InventionPlan::List& list, std::uint64_t seed)
        : described_(list.described), filters_(list.filters), seed_(seed) {
        if (list.names.empty())
            throw platform::Failure(described_ + QStringLiteral(": there are none"));
        try {
            model_ = NameModel::train(list.names);
            inventor_ = std::make_unique<Inventor>(model_, filters_, seed_);
        } catch (const InventFailure& failure) {
            failFor(described_, failure);
        }
        for (const std::string& name : list.alsoKnown)
            alsoKnown_.insert(foldedNameHash(foldCase(name)));
    }

    // The next new name that is no real name of the origin either; as many
    // tries as the inventor takes for one name, then a failure.
    std::string_view next() {
        for (std::uint64_t tries = 0; tries < InventLimits{}.triesPerName; ++tries) {
            const std::string_view name = nextOfTheList();
            if (alsoKnown_.size() == 0 || !alsoKnown_.contains(foldedNameHash(foldCase(name))))
                return name;
        }
        throw platform::Failure(described_ + QStringLiteral(": every new name is a real one"));
    }

private:
    std::string_view nextOfTheList() {
        try {
            return inventor_->next();
        } catch (const InventFailure& failure) {
            if (!canWiden()) failFor(described_, failure);
        }
        filters_.maxLength = model_.longestName() + 1;
        inventor_ = std::make_unique<Inventor>(model_, filters_, seed_);
        return nextOfTheList();
    }

    // A list whose every likely name is its own, such as family names of one
    // syllable each, leaves nothing new within its lengths: without filters
    // of its own, such a part invents names up to one character longer.
    bool canWiden() const {
        return inventor_->made() == 0 && filters_.minLength == 0 && filters_.maxLength == 0 &&
               filters_.startsWith.empty() && filters_.endsWith.empty();
    }

    QString described_;
    InventFilters filters_;
    std::uint64_t seed_;
    NameModel model_;
    std::unique_ptr<Inventor> inventor_;
    FlatKeySet alsoKnown_;
};

InventedPersons::InventedPersons(InventionPlan plan, std::uint64_t seed) : plan_(std::move(plan)) {
    if (plan_.origins.empty())
        throw platform::Failure(QStringLiteral("There are no names to invent from"));
    FastRandom seeds(seed);
    for (const InventionPlan::List& list : plan_.lists)
        parts_.push_back(std::make_unique<Part>(list, seeds.next()));
    double total = 0;
    for (const InventionPlan::Origin& origin : plan_.origins)
        cumulative_.push_back(total += origin.share);
    for (double& bound : cumulative_) bound /= total;
}

InventedPersons::~InventedPersons() = default;
InventedPersons::InventedPersons(InventedPersons&&) noexcept = default;
InventedPersons& InventedPersons::operator=(InventedPersons&&) noexcept = default;

Person InventedPersons::next(FastRandom& random) {
    std::size_t o = 0;
    if (plan_.origins.size() > 1) {
        const double at = static_cast<double>(random.next() >> 11) * 0x1.0p-53;
        o = static_cast<std::size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), at) -
                                     cumulative_.begin());
        o = std::min(o, plan_.origins.size() - 1);
    }
    const InventionPlan::Origin& origin = plan_.origins[o];
    const InventionPlan::Voice& voice = origin.voices[uniformBelow(random, origin.voices.size())];
    Person person;
    if (voice.first >= 0) person.first = parts_[static_cast<std::size_t>(voice.first)]->next();
    if (voice.last >= 0) person.last = parts_[static_cast<std::size_t>(voice.last)]->next();
    person.origin = static_cast<std::uint32_t>(o);
    person.lastOrigin = person.origin;
    person.sex = voice.sex;
    person.order = origin.order;
    person.blankBetween = origin.blankBetween;
    return person;
}

}  // namespace generate
