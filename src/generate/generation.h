#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>
#include <QStringView>

#include "app/failure_report.h"
#include "generate/count.h"
#include "generate/name_text.h"
#include "generate/random_generator.h"
#include "names/proper_case.h"
#include "platform/failure.h"

namespace generate {

inline std::int32_t CountOf(const QStringList& list) {
    return static_cast<std::int32_t>(list.size());
}

// Entry `number` (from 1) of a name list.
inline const QString& Entry(const QStringList& list, std::int32_t number) {
    if (number < 1 || number > list.size())
        throw platform::Failure(QStringLiteral("Subscript out of range"));
    return list[number - 1];
}

// The row steps of a generation run, each a numbered statement of the run's
// procedure. Per row: the last-name draw, then the first-name draw (both also
// when a list is empty, so the generator's sequence does not depend on the part
// of name), then the row by the part-of-name option read afresh, then the
// progress position. A list that is empty leaves its part empty for the run.
//
// `options` answers firstAndLast(), firstOnly(), lastOnly(); `sink` takes
// addRow(std::initializer_list<QStringView>); `progress` takes the position.
// Templates keep the million-row loop free of indirect calls.
template <class Options, class Sink, class Progress>
void ProduceRows(app::Procedure& procedure, RandomGenerator& random, std::int32_t count,
                 double plainValue, const QStringList& firstNames, const QStringList& lastNames,
                 const Options& options, Sink& sink, Progress&& progress) {
    QString first;
    QString last;
    std::int32_t j = 0;
    std::int32_t k = 0;
    const QStringView blank = u" ";
    for (std::int64_t i = 1; i <= count; ++i) {
        procedure.run(126, [&] { j = RandomIndex(random, CountOf(lastNames)); });
        if (procedure.test(128, [&] { return !lastNames.isEmpty(); }))
            procedure.run(130,
                          [&] { last = names::ProperCase(RemoveBlanks(Entry(lastNames, j))); });
        procedure.run(132, [&] { k = RandomIndex(random, CountOf(firstNames)); });
        if (procedure.test(134, [&] { return !firstNames.isEmpty(); }))
            procedure.run(136,
                          [&] { first = names::ProperCase(RemoveBlanks(Entry(firstNames, k))); });

        if (procedure.test(138, [&] { return options.firstAndLast(); }))
            procedure.run(140, [&] { sink.addRow({first, blank, last}); });
        else if (procedure.test(142, [&] { return options.firstOnly(); }))
            procedure.run(144, [&] { sink.addRow({first}); });
        else if (procedure.test(146, [&] { return options.lastOnly(); }))
            procedure.run(148, [&] { sink.addRow({last}); });

        procedure.run(150, [&] { progress(ProgressPosition(i, plainValue)); });
    }
}

}  // namespace generate
