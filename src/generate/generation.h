#pragma once

#include <cstdint>
#include <cstring>
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
#include "names/proper_case.h"
#include "platform/failure.h"

namespace generate {

inline std::int32_t countOf(const QStringList& list) {
    return static_cast<std::int32_t>(list.size());
}

// Entry `number` (from 1) of a name list.
inline const QString& entryAt(const QStringList& list, std::int32_t number) {
    if (number < 1 || number > list.size())
        throw platform::Failure(QStringLiteral("Subscript out of range"));
    return list[number - 1];
}

// An entry of a name list as rows show it: ProperCase(RemoveBlanks(entry)) as UTF-8.
inline QByteArray shownName(const QString& entry) {
    return names::ProperCase(RemoveBlanks(entry)).toUtf8();
}

// The entries of a name list as rows show them (shownName), converted on an
// entry's first draw and kept, one slot per entry. The list can change during
// a run (a failure box lets the user work in the main window); the kept
// conversions are then dropped.
class ShownNames {
public:
    // Valid until the next call.
    std::string_view at(const QStringList& list, std::int32_t number) {
        const QString& entry = entryAt(list, number);
        if (!unchangedSinceConverted(list)) reset(list);
        Slot& slot = slots_[static_cast<std::size_t>(number - 1)];
        if (slot.length == kNotMade) make(slot, entry);
        return std::string_view(slot.length <= kHeld ? slot.text : text_.data() + beginOf(slot),
                                slot.length);
    }

private:
    // The conversions keep a copy of the list they were made from. A copy of a
    // QStringList shares the list's data until either of them changes, and a
    // change gives the changed list data of its own: the same data and size
    // mean the same entries. Comparing the entries instead (list == source_)
    // would read every entry on every draw once the list had been replaced by
    // an equal one, as a reload does.
    bool unchangedSinceConverted(const QStringList& list) const {
        return list.constData() == source_.constData() && list.size() == source_.size();
    }

    // A slot holds a short name's text itself, so that a draw from a long list
    // reads one place in memory: four slots to a cache line. A longer name lies
    // in text_, the slot holding where it begins.
    static constexpr std::uint32_t kNotMade = static_cast<std::uint32_t>(-1);
    static constexpr std::uint32_t kHeld = 12;
    struct alignas(16) Slot {
        std::uint32_t length = kNotMade;
        char text[kHeld] = {};
    };
    static std::size_t beginOf(const Slot& slot) {
        std::uint32_t begin = 0;
        std::memcpy(&begin, slot.text, sizeof begin);
        return begin;
    }
    Q_NEVER_INLINE void make(Slot& slot, const QString& entry) {
        const QByteArray shown = shownName(entry);
        const auto length = static_cast<std::uint32_t>(shown.size());
        if (length <= kHeld) {
            std::memcpy(slot.text, shown.constData(), length);
        } else {
            const auto begin = static_cast<std::uint32_t>(text_.size());
            if (text_.size() + length > kNotMade)
                throw platform::Failure(QStringLiteral("Out of memory"));
            std::memcpy(slot.text, &begin, sizeof begin);
            text_.append(shown.constData(), length);
        }
        slot.length = length;
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

// The steps of a generation run's rows. Each is run through the caller's
// guard, `guard.run(step, statement)` and `guard.test(step, condition)`: the
// window that owns the run numbers the steps as statements of its procedure
// and carries on after a failing one; the command line lets a failure through.
enum class RowStep {
    DrawLast,        // draw the last name's entry number
    HasLastNames,    // is there a last name to show?
    ShowLast,        // the last name as rows show it
    DrawFirst,       // draw the first name's entry number
    HasFirstNames,   // is there a first name to show?
    ShowFirst,       // the first name as rows show it
    WantsFullName,   // part of name: first and last?
    AddFullName,     // the row "first last"
    WantsFirstName,  // part of name: first only?
    AddFirstName,    // the row "first"
    WantsLastName,   // part of name: last only?
    AddLastName,     // the row "last"
    DrawPerson,      // draw one whole person (given and family name of one origin)
    ShowProgress,    // the progress position after the row
};

// The two draws of a row: the last-name draw, then the first-name draw, both
// also when a list is empty, so the generator's sequence does not depend on
// the part of name. A part whose list is empty stays empty; a part refers
// into its list's ShownNames, which changes only when that part is drawn anew.
class RowDraw {
public:
    RowDraw(const QStringList& firstNames, const QStringList& lastNames)
        : firstNames_(firstNames), lastNames_(lastNames) {}

    template <class Guard>
    void next(Guard& guard, RandomGenerator& random) {
        guard.run(RowStep::DrawLast, [&] { j = RandomIndex(random, countOf(lastNames_)); });
        if (guard.test(RowStep::HasLastNames, [&] { return !lastNames_.isEmpty(); }))
            guard.run(RowStep::ShowLast, [&] { last = shownLast_.at(lastNames_, j); });
        guard.run(RowStep::DrawFirst, [&] { k = RandomIndex(random, countOf(firstNames_)); });
        if (guard.test(RowStep::HasFirstNames, [&] { return !firstNames_.isEmpty(); }))
            guard.run(RowStep::ShowFirst, [&] { first = shownFirst_.at(firstNames_, k); });
    }

    std::int32_t j = 0;  // the last name's entry number, from 1
    std::int32_t k = 0;  // the first name's entry number, from 1
    std::string_view first;
    std::string_view last;

private:
    const QStringList& firstNames_;
    const QStringList& lastNames_;
    ShownNames shownFirst_;
    ShownNames shownLast_;
};

// The row of the drawn parts, by the part-of-name option read afresh.
// `options` answers firstAndLast(), firstOnly(), lastOnly(); `sink` takes
// addUtf8Row(std::initializer_list<std::string_view>).
template <class Guard, class Options, class Sink>
void addRow(Guard& guard, const Options& options, Sink& sink, const RowDraw& draw) {
    const std::string_view blank = " ";
    if (guard.test(RowStep::WantsFullName, [&] { return options.firstAndLast(); }))
        guard.run(RowStep::AddFullName, [&] { sink.addUtf8Row({draw.first, blank, draw.last}); });
    else if (guard.test(RowStep::WantsFirstName, [&] { return options.firstOnly(); }))
        guard.run(RowStep::AddFirstName, [&] { sink.addUtf8Row({draw.first}); });
    else if (guard.test(RowStep::WantsLastName, [&] { return options.lastOnly(); }))
        guard.run(RowStep::AddLastName, [&] { sink.addUtf8Row({draw.last}); });
}

// The row steps of a generation run: per row the two draws, the row, then the
// progress position. Templates keep the million-row loop free of indirect calls.
template <class Guard, class Options, class Sink, class Progress>
void produceRows(Guard& guard, RandomGenerator& random, std::int32_t count, double plainValue,
                 const QStringList& firstNames, const QStringList& lastNames,
                 const Options& options, Sink& sink, Progress&& progress) {
    RowDraw draw(firstNames, lastNames);
    for (std::int64_t i = 1; i <= count; ++i) {
        draw.next(guard, random);
        addRow(guard, options, sink, draw);
        guard.run(RowStep::ShowProgress, [&] { progress(progressPosition(i, plainValue)); });
    }
}

}  // namespace generate
