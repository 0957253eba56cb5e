#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

#include "generate/count.h"
#include "generate/fast_random.h"
#include "generate/generation.h"
#include "generate/person_draw.h"

namespace generate {

// The row of one drawn person by the part-of-name option read afresh: the
// full name in the origin's order with its separator, the given name, or the
// family name. `sink` takes addUtf8Row({part}) and, for the full name,
// addNameRow(leading, trailing, blank, familyFirst), which keeps the parts.
template <class Guard, class Options, class Sink>
void addPersonRow(Guard& guard, const Options& options, Sink& sink, const Person& person) {
    if (guard.test(RowStep::WantsFullName, [&] { return options.firstAndLast(); }))
        guard.run(RowStep::AddFullName, [&] {
            const bool familyFirst = person.order == NameOrder::FamilyFirst;
            sink.addNameRow(familyFirst ? person.last : person.first,
                            familyFirst ? person.first : person.last, person.blankBetween,
                            familyFirst);
        });
    else if (guard.test(RowStep::WantsFirstName, [&] { return options.firstOnly(); }))
        guard.run(RowStep::AddFirstName, [&] { sink.addUtf8Row({person.first}); });
    else if (guard.test(RowStep::WantsLastName, [&] { return options.lastOnly(); }))
        guard.run(RowStep::AddLastName, [&] { sink.addUtf8Row({person.last}); });
}

// The row steps of a run that draws whole persons: per row one person (origin,
// sex, given name and family name together), the row, then the progress
// position. `draw` gives next(random): a PersonDraw, or invented persons.
// A person that cannot be drawn ends the run: the rows so far stay.
//
// A PersonDraw's persons are drawn a batch ahead of their rows, by
// nextBatch: the draws of a batch read the pools (long lists, mostly out of
// the processor's caches) side by side instead of one row's reads waiting
// for the last's. The random numbers come in the same order.
template <class Guard, class Draw, class Options, class Sink, class Progress>
void producePersonRows(Guard& guard, Draw& draw, FastRandom& random, std::int32_t count,
                       double plainValue, const Options& options, Sink& sink, Progress&& progress) {
    constexpr bool kDrawsByBatch = std::is_same_v<std::remove_cv_t<Draw>, PersonDraw>;
    constexpr std::int64_t kBatch = kDrawsByBatch ? PersonDraw::kMaxBatch : 1;
    std::array<Person, kBatch> persons;
    for (std::int64_t i = 1; i <= count; i += kBatch) {
        const std::int64_t rows = std::min<std::int64_t>(kBatch, count - i + 1);
        if constexpr (kDrawsByBatch) {
            const std::span<Person> batch(persons.data(), static_cast<std::size_t>(rows));
            if (!guard.run(RowStep::DrawPerson, [&] { draw.nextBatch(random, batch); })) return;
        } else {
            if (!guard.run(RowStep::DrawPerson, [&] { persons[0] = draw.next(random); })) return;
        }
        for (std::int64_t j = 0; j < rows; ++j) {
            addPersonRow(guard, options, sink, persons[j]);
            guard.run(RowStep::ShowProgress,
                      [&] { progress(progressPosition(i + j, plainValue)); });
        }
    }
}

}  // namespace generate
