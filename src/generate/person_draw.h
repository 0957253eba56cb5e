#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/alias_table.h"
#include "generate/fast_random.h"
#include "generate/name_pool.h"
#include "generate/row_buffer.h"

namespace generate {

enum class Sex : std::uint8_t { Female, Male, Unisex };
enum class NameOrder : std::uint8_t { GivenFirst, FamilyFirst };

// Which persons a draw makes, in every chosen origin.
enum class GenderFilter : std::uint8_t {
    Both,  // female or male at equal odds; unisex first names are not drawn
    Female,
    Male,
    Unisex,  // unisex first names only: every origin must have some
    Any,     // female, male and, where the origin has them, unisex at equal odds
};

// One origin's names. Its family names are either one list for both sexes
// (lastNames) or a female and a male form of each (femaleLast and maleLast).
struct OriginNames {
    std::string tag;          // BCP 47, e.g. "ru" or "pt-BR"
    std::string displayName;  // in English, e.g. "Russian"
    NameOrder order = NameOrder::GivenFirst;
    bool blankBetween = true;  // false where the two names are written together (zh, ko)
    NamePool femaleFirst;
    NamePool maleFirst;
    NamePool unisexFirst;
    NamePool lastNames;
    NamePool femaleLast;
    NamePool maleLast;

    bool hasGenderedSurnames() const { return !femaleLast.empty() || !maleLast.empty(); }
};

// One drawn person. The views point into the draw's name pools.
struct Person {
    std::string_view first;
    std::string_view last;
    std::uint32_t origin = 0;      // index of the person's origin: of the given name
    std::uint32_t lastOrigin = 0;  // of the family name: the same unless mixing
    Sex sex = Sex::Female;
    NameOrder order = NameOrder::GivenFirst;  // the given name's origin's
    bool blankBetween = true;                 // the given name's origin's
};

// The full name, given and family name joined by one blank in the person's
// name order, appended to out (which the caller reserves once). The RowBuffer
// form is the fast one, for writing millions of rows.
inline void appendFull(RowBuffer& out, const Person& person) {
    const bool familyFirst = person.order == NameOrder::FamilyFirst;
    const std::string_view a = familyFirst ? person.last : person.first;
    const std::string_view b = familyFirst ? person.first : person.last;
    char* at = out.room(a.size() + 1 + b.size());
    // copy_n, not memcpy: an empty part may have no data at all.
    std::copy_n(a.data(), a.size(), at);
    at += a.size();
    *at = ' ';
    at += person.blankBetween;
    std::copy_n(b.data(), b.size(), at);
    out.finish(at + b.size());
}
// Copies a name drawn from a NamePool in whole blocks of NamePool::kPadding
// bytes, reading and writing up to kPadding - 1 bytes past its end; returns
// where the name ends in `to`. Fixed-size copies cost less than a copy of a
// length known only at run time.
inline char* copyPaddedName(char* to, std::string_view name) {
    for (std::size_t done = 0; done < name.size(); done += NamePool::kPadding)
        std::memcpy(to + done, name.data() + done, NamePool::kPadding);
    return to + name.size();
}

// appendFull for a person whose two names come from NamePools (as
// PersonDraw's do), followed by `lineEnd` of one or two bytes: the fast form
// of a line of full names.
inline void appendPooledLine(RowBuffer& out, const Person& person, std::string_view lineEnd) {
    const bool familyFirst = person.order == NameOrder::FamilyFirst;
    const std::string_view a = familyFirst ? person.last : person.first;
    const std::string_view b = familyFirst ? person.first : person.last;
    char* at = out.room(a.size() + b.size() + 2 * NamePool::kPadding + 2);
    at = copyPaddedName(at, a);
    *at = ' ';
    at = copyPaddedName(at + person.blankBetween, b);
    at[0] = lineEnd[0];
    at[1] = lineEnd.back();
    out.finish(at + lineEnd.size());
}

inline void appendFull(std::string& out, const Person& person) {
    const bool familyFirst = person.order == NameOrder::FamilyFirst;
    out.append(familyFirst ? person.last : person.first);
    if (person.blankBetween) out.push_back(' ');
    out.append(familyFirst ? person.first : person.last);
}

struct DrawChoice {
    std::vector<double> shares;  // one per origin, positive; empty: equal shares
    GenderFilter gender = GenderFilter::Both;
    // The free pairing: the family name's origin drawn by the shares on its
    // own, in the form of the person's sex where that origin has two forms.
    bool mix = false;
};

// Draws persons from the chosen origins. Each person takes an origin by the
// shares, a sex by the gender filter (equal odds among the sexes the filter
// allows), a given name of that origin and sex, and a family name of the same
// origin, in the form of the person's sex where the origin has two forms. A
// unisex person takes the female or the male form at equal odds.
//
// Per person: one random number picks origin, sex and surname form together
// (an alias table over those combinations), one the given name, one the family
// name, and when mixing one more the family name's origin.
class PersonDraw {
public:
    static constexpr std::size_t kMaxBatch = 64;  // persons nextBatch draws stage by stage

    // platform::Failure, naming the origin, when an origin lacks the first
    // names the filter needs or family names, or when the shares are wrong.
    PersonDraw(std::vector<OriginNames> origins, DrawChoice choice);
    // The pools are referred to by address: a move keeps them, a copy would not.
    PersonDraw(const PersonDraw&) = delete;
    PersonDraw& operator=(const PersonDraw&) = delete;
    PersonDraw(PersonDraw&&) = default;
    PersonDraw& operator=(PersonDraw&&) = default;

    const std::vector<OriginNames>& origins() const { return origins_; }

    Person next(FastRandom& random) const {
        const Slot& slot = slots_[slotTable_->draw(random.next())];
        Person person;
        person.first = slot.first->draw(random.next());
        person.origin = slot.origin;
        person.lastOrigin = slot.origin;
        person.sex = slot.sex;
        person.order = slot.order;
        person.blankBetween = slot.blankBetween;
        if (mix_) [[unlikely]]
            drawMixedSurname(random, person);
        else
            person.last = slot.last->draw(random.next());
        return person;
    }

    // The next persons, as as many calls of next() give them; `after`, when
    // not empty (as long as `persons`), takes the generator as each person
    // leaves it. The draws of the batch go stage by stage (columns, then the
    // names' places, then their letters), each stage's memory asked for ahead
    // of its reads, so that the reads of long lists out of the caches overlap.
    void nextBatch(FastRandom& random, std::span<Person> persons,
                   std::span<FastRandom> after = {}) const;

private:
    struct Slot {
        const NamePool* first;
        const NamePool* last;
        std::uint32_t origin;
        Sex sex;
        NameOrder order;
        bool blankBetween;
    };
    struct SurnameSlot {
        const NamePool* last;
        std::uint32_t origin;
    };

    // The family name of the free pairing: its origin drawn on its own.
    void drawMixedSurname(FastRandom& random, Person& person) const;
    void buildSlots(const std::vector<double>& shares, GenderFilter gender);
    void buildSurnameSlots(const std::vector<double>& shares);

    std::vector<OriginNames> origins_;
    std::vector<Slot> slots_;
    std::optional<AliasTable> slotTable_;
    std::array<std::vector<SurnameSlot>, 3> surnameSlots_;  // by the person's sex, when mixing
    std::array<std::optional<AliasTable>, 3> surnameTables_;
    bool mix_ = false;
};

}  // namespace generate
