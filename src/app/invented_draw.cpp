#include "app/invented_draw.h"

#include <algorithm>

#include "generate/inventor.h"
#include "generate/name_model.h"
#include "platform/failure.h"

namespace app {

int InventionPlan::listOf(const QStringList& names, const QString& described) {
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (lists[i].described == described && lists[i].names == names) return static_cast<int>(i);
    lists.push_back({names, described});
    return static_cast<int>(lists.size() - 1);
}

namespace {

std::vector<std::string> utf8Names(const QStringList& names) {
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) utf8.push_back(name.toStdString());
    return utf8;
}

[[noreturn]] void failFor(const QString& described, const generate::InventFailure& failure) {
    throw platform::Failure(described + QStringLiteral(": ") + QString::fromUtf8(failure.what()));
}

}  // namespace

// One list's model and its inventor.
struct InventedDraw::Part {
    Part(const InventionPlan::List& list, std::uint64_t seed)
        : described(list.described), seed(seed) {
        try {
            model = generate::NameModel::train(utf8Names(list.names));
            inventor = std::make_unique<generate::Inventor>(model, filters, seed);
        } catch (const generate::InventFailure& failure) {
            failFor(described, failure);
        }
    }

    // A list whose every likely name is its own (family names of one
    // syllable each) leaves nothing new within its lengths: it then invents
    // names up to one character longer.
    std::string_view next() {
        try {
            return inventor->next();
        } catch (const generate::InventFailure& failure) {
            if (inventor->made() > 0 || filters.maxLength != 0) failFor(described, failure);
        }
        filters.maxLength = model.longestName() + 1;
        inventor = std::make_unique<generate::Inventor>(model, filters, seed);
        return next();
    }

    QString described;
    std::uint64_t seed;
    generate::NameModel model;
    generate::InventFilters filters;
    std::unique_ptr<generate::Inventor> inventor;
};

InventedDraw::InventedDraw(InventionPlan plan, std::uint64_t seed) : plan_(std::move(plan)) {
    generate::FastRandom seeds(seed);
    for (const InventionPlan::List& list : plan_.lists)
        parts_.push_back(std::make_unique<Part>(list, seeds.next()));
    double total = 0;
    for (const InventionPlan::Origin& origin : plan_.origins)
        cumulative_.push_back(total += origin.share);
    for (double& bound : cumulative_) bound /= total;
    if (plan_.origins.empty())
        throw platform::Failure(QStringLiteral("There are no names to invent from"));
}

InventedDraw::~InventedDraw() = default;
InventedDraw::InventedDraw(InventedDraw&&) noexcept = default;
InventedDraw& InventedDraw::operator=(InventedDraw&&) noexcept = default;

generate::Person InventedDraw::next(generate::FastRandom& random) {
    std::size_t o = 0;
    if (plan_.origins.size() > 1) {
        const double at = static_cast<double>(random.next() >> 11) * 0x1.0p-53;
        o = static_cast<std::size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), at) -
                                     cumulative_.begin());
        o = std::min(o, plan_.origins.size() - 1);
    }
    const InventionPlan::Origin& origin = plan_.origins[o];
    const InventionPlan::Voice& voice =
        origin.voices[generate::uniformBelow(random, origin.voices.size())];
    generate::Person person;
    if (voice.first >= 0) person.first = parts_[static_cast<std::size_t>(voice.first)]->next();
    if (voice.last >= 0) person.last = parts_[static_cast<std::size_t>(voice.last)]->next();
    person.origin = static_cast<std::uint32_t>(o);
    person.lastOrigin = person.origin;
    person.sex = voice.sex;
    person.order = origin.order;
    person.blankBetween = origin.blankBetween;
    return person;
}

}  // namespace app
