#pragma once

#include <cstdint>
#include <string>

#include "generate/count.h"
#include "generate/fast_random.h"
#include "generate/generation.h"
#include "generate/person_draw.h"

namespace generate {

// The row of one drawn person by the part-of-name option read afresh: the
// full name in the origin's order with its separator, the given name, or the
// family name. `full` is the caller's buffer, reused from row to row.
template <class Guard, class Options, class Sink>
void addPersonRow(Guard& guard, const Options& options, Sink& sink, const Person& person,
                  std::string& full) {
    if (guard.test(RowStep::WantsFullName, [&] { return options.firstAndLast(); }))
        guard.run(RowStep::AddFullName, [&] {
            full.clear();
            appendFull(full, person);
            sink.addUtf8Row({full});
        });
    else if (guard.test(RowStep::WantsFirstName, [&] { return options.firstOnly(); }))
        guard.run(RowStep::AddFirstName, [&] { sink.addUtf8Row({person.first}); });
    else if (guard.test(RowStep::WantsLastName, [&] { return options.lastOnly(); }))
        guard.run(RowStep::AddLastName, [&] { sink.addUtf8Row({person.last}); });
}

// The row steps of a run that draws whole persons: per row one person (origin,
// sex, given name and family name together), the row, then the progress
// position.
template <class Guard, class Options, class Sink, class Progress>
void producePersonRows(Guard& guard, const PersonDraw& draw, FastRandom& random, std::int32_t count,
                       double plainValue, const Options& options, Sink& sink, Progress&& progress) {
    std::string full;
    Person person;
    for (std::int64_t i = 1; i <= count; ++i) {
        guard.run(RowStep::DrawPerson, [&] { person = draw.next(random); });
        addPersonRow(guard, options, sink, person, full);
        guard.run(RowStep::ShowProgress, [&] { progress(progressPosition(i, plainValue)); });
    }
}

}  // namespace generate
