#pragma once

// Invented persons, for the windows and the command line alike: each list
// learned by a name model, each person drawn as a real one is (an origin by
// the shares, then one of its voices at equal odds), each part a new name
// from its list's inventor, never one of the list's names.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "generate/fast_random.h"
#include "generate/inventor.h"
#include "generate/person_draw.h"
#include "names/origin_data.h"

namespace generate {

// What persons are invented from.
struct InventionPlan {
    struct List {
        std::vector<std::string> names;  // UTF-8
        QString described;  // how a message names the list: "German (de) male first names"
        InventFilters filters;
        // Real names of the origin that the list does not hold, never to be
        // invented either: a man's name must not be a woman's real one.
        std::vector<std::string> alsoKnown;
    };
    // One kind of person of an origin: a given-name list and a family-name
    // list (indexes into `lists`; -1: the part is not invented).
    struct Voice {
        int first = -1;
        int last = -1;
        Sex sex = Sex::Female;
    };
    struct Origin {
        std::string tag;  // empty for a list of no origin (the User List)
        NameOrder order = NameOrder::GivenFirst;
        bool blankBetween = true;
        double share = 1;
        std::vector<Voice> voices;
    };

    std::vector<List> lists;
    std::vector<Origin> origins;

    // The index of the list of that description and filters, added when it
    // is new: a list is learned once however many voices share it.
    int listOf(List list);
};

// The real names of an origin that a person of this sex takes from none of
// its own lists: the other sex's first names, and family names of the other
// form where the origin has both. A plan's lists keep them as alsoKnown.
struct OtherSexNames {
    QStringList first;
    QStringList last;
};
OtherSexNames otherSexNames(const names::OriginEntry& origin, Sex sex);

class InventedPersons {
public:
    // Learns every list, each from a seed of its own drawn from `seed`.
    // platform::Failure naming the list for one with no names or too few to
    // learn from, or filters that no name can meet; also for a plan without
    // origins.
    InventedPersons(InventionPlan plan, std::uint64_t seed);
    ~InventedPersons();
    InventedPersons(InventedPersons&&) noexcept;
    InventedPersons& operator=(InventedPersons&&) noexcept;

    // The next person, its origin the index into plan().origins; the parts
    // are valid until the next call. platform::Failure naming the list when
    // no new name can be found.
    Person next(FastRandom& random);

    const InventionPlan& plan() const { return plan_; }

private:
    class Part;
    InventionPlan plan_;
    std::vector<std::unique_ptr<Part>> parts_;
    std::vector<double> cumulative_;  // the origins' shares, summed up to 1
};

}  // namespace generate
