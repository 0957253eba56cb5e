#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "generate/count.h"
#include "generate/name_text.h"
#include "generate/random_generator.h"
#include "guarded/failure_report.h"
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

// The entries of a name list as rows show them: ProperCase(RemoveBlanks(entry))
// as UTF-8, converted on an entry's first draw and kept in one small buffer.
// It keeps a shared copy of the list: any change to the list detaches the list
// from that copy, so a changed list is noticed by one comparison and the kept
// conversions are dropped.
class ShownNames {
public:
    // Valid until the next call.
    std::string_view at(const QStringList& list, std::int32_t number) {
        const QString& entry = Entry(list, number);
        if (list.constData() != source_.constData() || list.size() != source_.size()) reset(list);
        Slot& slot = slots_[static_cast<std::size_t>(number - 1)];
        if (slot.begin == kNotMade) make(slot, entry);
        return std::string_view(text_.data() + slot.begin, slot.length);
    }

private:
    static constexpr std::size_t kNotMade = static_cast<std::size_t>(-1);
    struct Slot {
        std::size_t begin = kNotMade;
        std::size_t length = 0;
    };
    Q_NEVER_INLINE void make(Slot& slot, const QString& entry) {
        const QByteArray shown = names::ProperCase(RemoveBlanks(entry)).toUtf8();
        slot.begin = text_.size();
        slot.length = static_cast<std::size_t>(shown.size());
        text_.append(shown.constData(), slot.length);
    }
    Q_NEVER_INLINE void reset(const QStringList& list) {
        source_ = list;
        slots_.assign(static_cast<std::size_t>(list.size()), Slot{});
        text_.clear();
    }

    QStringList source_;
    std::vector<Slot> slots_;
    std::string text_;
};

// The row steps of a generation run, each a numbered statement of the run's
// procedure. Per row: the last-name draw, then the first-name draw (both also
// when a list is empty, so the generator's sequence does not depend on the part
// of name), then the row by the part-of-name option read afresh, then the
// progress position. A list that is empty leaves its part empty for the run.
//
// `options` answers firstAndLast(), firstOnly(), lastOnly(); `sink` takes
// addUtf8Row(std::initializer_list<std::string_view>); `progress` takes the
// position. Templates keep the million-row loop free of indirect calls.
template <class Options, class Sink, class Progress>
void ProduceRows(guarded::Procedure& procedure, RandomGenerator& random, std::int32_t count,
                 double plainValue, const QStringList& firstNames, const QStringList& lastNames,
                 const Options& options, Sink& sink, Progress&& progress) {
    ShownNames shownFirst;
    ShownNames shownLast;
    // A part refers into its list's ShownNames, which changes only when that
    // part is drawn anew.
    std::string_view first;
    std::string_view last;
    std::int32_t j = 0;
    std::int32_t k = 0;
    const std::string_view blank = " ";
    for (std::int64_t i = 1; i <= count; ++i) {
        procedure.run(126, [&] { j = RandomIndex(random, CountOf(lastNames)); });
        if (procedure.test(128, [&] { return !lastNames.isEmpty(); }))
            procedure.run(130, [&] { last = shownLast.at(lastNames, j); });
        procedure.run(132, [&] { k = RandomIndex(random, CountOf(firstNames)); });
        if (procedure.test(134, [&] { return !firstNames.isEmpty(); }))
            procedure.run(136, [&] { first = shownFirst.at(firstNames, k); });

        if (procedure.test(138, [&] { return options.firstAndLast(); }))
            procedure.run(140, [&] { sink.addUtf8Row({first, blank, last}); });
        else if (procedure.test(142, [&] { return options.firstOnly(); }))
            procedure.run(144, [&] { sink.addUtf8Row({first}); });
        else if (procedure.test(146, [&] { return options.lastOnly(); }))
            procedure.run(148, [&] { sink.addUtf8Row({last}); });

        procedure.run(150, [&] { progress(ProgressPosition(i, plainValue)); });
    }
}

}  // namespace generate
