#pragma once

#include <cstdint>

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
template <class Guard, class Draw, class Options, class Sink, class Progress>
void producePersonRows(Guard& guard, Draw& draw, FastRandom& random, std::int32_t count,
                       double plainValue, const Options& options, Sink& sink, Progress&& progress) {
    Person person;
    for (std::int64_t i = 1; i <= count; ++i) {
        if (!guard.run(RowStep::DrawPerson, [&] { person = draw.next(random); })) return;
        addPersonRow(guard, options, sink, person);
        guard.run(RowStep::ShowProgress, [&] { progress(progressPosition(i, plainValue)); });
    }
}

}  // namespace generate
