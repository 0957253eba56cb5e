// `generate` from the User List: the names of a run drawn by the windows' own
// row steps, written in one of the output formats. The built-in origins are
// drawn by the engine instead (origin_draw.cpp).
#include <algorithm>
#include <exception>
#include <initializer_list>
#include <limits>
#include <memory>
#include <random>

#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"
#include "cli/origin_draw.h"
#include "cli/output.h"
#include "cli/unique_names.h"
#include "generate/generation.h"
#include "generate/random_generator.h"
#include "guarded/failure_report.h"
#include "names/name_list_model.h"
#include "platform/failure.h"

namespace cli {

namespace {

// The part of name as the row steps ask for it.
struct PartOfName {
    Part part;
    bool firstAndLast() const { return part == Part::Full; }
    bool firstOnly() const { return part == Part::First; }
    bool lastOnly() const { return part == Part::Last; }
};

// The row steps' rows, {first, " ", last} or {name}, as the writers' rows:
// names without a sex or an origin.
template <class Writer>
class UserListRows {
public:
    UserListRows(Writer& writer, Part part) : writer_(writer), part_(part) {}
    void addUtf8Row(std::initializer_list<std::string_view> pieces) {
        PersonRow row;
        if (pieces.size() == 3) {
            row.person.first = std::data(pieces)[0];
            row.person.last = std::data(pieces)[2];
        } else if (part_ == Part::Last) {
            row.person.last = *pieces.begin();
        } else {
            row.person.first = *pieces.begin();
        }
        writer_.add(row);
    }

private:
    Writer& writer_;
    Part part_;
};

// The lists come in the order of the user's locale, as the windows show
// them. Drawn from in the order of their characters' codes instead, the same
// seed gives the same names on every machine, whatever its language.
QStringList inCodeOrder(QStringList names) {
    std::sort(names.begin(), names.end());
    return names;
}

// A list the names are drawn from must hold names.
void requireNames(const QStringList& list, ListSource source, const char* which) {
    if (!list.isEmpty()) return;
    throw platform::Failure((source == ListSource::User ? QStringLiteral("the User List")
                                                        : QStringLiteral("the built-in list")) +
                            QStringLiteral(" holds no ") + QLatin1String(which) +
                            QStringLiteral(" names"));
}

// How many different names the lists can make for the part of name.
std::uint64_t possibleNames(Part part, const DistinctForms& first, const DistinctForms& last) {
    switch (part) {
        case Part::First:
            return first.count;
        case Part::Last:
            return last.count;
        case Part::Full:
            break;
    }
    return std::uint64_t{first.count} * last.count;
}

// The number of the drawn name among those possible: its first name's and
// last name's distinct forms, by the part of name. A part that the row does
// not show may come from an empty list, and is left out.
std::uint64_t numberOf(Part part, const generate::RowDraw& draw, const DistinctForms& first,
                       const DistinctForms& last) {
    const auto firstNumber = [&] { return first.numberOf[static_cast<std::size_t>(draw.k - 1)]; };
    const auto lastNumber = [&] { return last.numberOf[static_cast<std::size_t>(draw.j - 1)]; };
    switch (part) {
        case Part::First:
            return firstNumber();
        case Part::Last:
            return lastNumber();
        case Part::Full:
            break;
    }
    return std::uint64_t{firstNumber()} * last.count + lastNumber();
}

// The windows' row steps without a repeat: a row whose name came before is
// drawn again, so the output is the windows' sequence with repeats left out.
template <class Sink>
void produceUniqueRows(guarded::LetThrough& guard, generate::RandomGenerator& random,
                       std::int32_t count, const QStringList& firstNames,
                       const QStringList& lastNames, PartOfName options, Sink& sink,
                       const DistinctForms& first, const DistinctForms& last,
                       std::uint64_t possible) {
    SeenNumbers seen(possible, static_cast<std::uint64_t>(count));
    generate::RowDraw draw(firstNames, lastNames);
    for (std::int32_t added = 0; added < count;) {
        draw.next(guard, random);
        if (!seen.firstTime(numberOf(options.part, draw, first, last))) continue;
        generate::addRow(guard, options, sink, draw);
        ++added;
    }
}

template <class Writer>
void produce(const GenerateRequest& request, const QStringList& firstNames,
             const QStringList& lastNames, Writer& writer, const DistinctForms& first,
             const DistinctForms& last, std::uint64_t possible) {
    UserListRows<Writer> sink(writer, request.part);
    // The first failure ends the command.
    guarded::LetThrough guard;
    generate::RandomGenerator random(seedOf(request));
    const PartOfName options{request.part};
    if (request.unique)
        produceUniqueRows(guard, random, request.count, firstNames, lastNames, options, sink, first,
                          last, possible);
    else
        generate::produceRows(guard, random, request.count, request.count, firstNames, lastNames,
                              options, sink, [](int) {});
}

}  // namespace

std::uint64_t seedOf(const GenerateRequest& request) {
    if (request.seed) return *request.seed;
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
}

const char* partWords(Part part) {
    switch (part) {
        case Part::First:
            return "first names";
        case Part::Last:
            return "last names";
        case Part::Full:
            break;
    }
    return "full names";
}

void generateNames(const GenerateRequest& request, const QString& databasePath) {
    if (request.invention.on) return inventNames(request, databasePath);
    if (request.list == ListSource::BuiltIn) {
        generateFromOrigins(request, databasePath);
        return;
    }
    names::NameListModel firstList;
    names::NameListModel lastList;
    loadLists(databasePath, request.list, request.gender, firstList, lastList);
    const QStringList firstNames = inCodeOrder(firstList.entries());
    const QStringList lastNames = inCodeOrder(lastList.entries());
    if (request.part != Part::Last) requireNames(firstNames, request.list, "first");
    if (request.part != Part::First) requireNames(lastNames, request.list, "last");

    DistinctForms first;
    DistinctForms last;
    std::uint64_t possible = 0;
    if (request.unique) {
        first = distinct(firstNames);
        last = distinct(lastNames);
        possible = possibleNames(request.part, first, last);
        if (static_cast<std::uint64_t>(request.count) > possible)
            throw platform::Failure(QStringLiteral("--unique: these lists make only ") +
                                    grouped(possible) + QLatin1Char(' ') +
                                    QLatin1String(partWords(request.part)) +
                                    QStringLiteral(", not ") + grouped(request.count));
    }

    writeRows(request.format, outputOptionsOf(request), [&](auto& writer) {
        produce(request, firstNames, lastNames, writer, first, last, possible);
    });
}

}  // namespace cli
