// `generate --invent`: persons drawn as real ones are (an origin by the
// shares, a sex at equal odds), each part of the name invented by its list's
// model, written in the formats of real names or as records.
#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"
#include "cli/invent_sources.h"
#include "cli/output.h"
#include "generate/name_model_text.h"
#include "platform/failure.h"

namespace cli {

namespace {

// Draws the persons of the plan, each with the row as text shows it: the
// full name or the one part. --unique skips a row that came before,
// ignoring case, and gives up after as many rows in a row as an inventor
// tries for one name.
class PersonInventor {
public:
    PersonInventor(const GenerateRequest& request, generate::InventedPersons& persons,
                   std::uint64_t seed)
        : request_(request), persons_(persons), random_(seed) {}

    PersonRow next() {
        for (std::uint64_t skipped = 0;; ++skipped) {
            if (skipped >= generate::InventLimits{}.triesPerName) giveUp(skipped);
            person_ = persons_.next(random_);
            if (!request_.unique ||
                seen_.insert(generate::foldedNameHash(generate::foldCase(shown()))))
                break;
        }
        ++made_;
        const std::string& tag = persons_.plan().origins[person_.origin].tag;
        return {person_, tag, true};
    }

private:
    std::string_view shown() {
        if (person_.first.empty() || person_.last.empty())
            return person_.first.empty() ? person_.last : person_.first;
        full_.clear();
        generate::appendFull(full_, person_);
        return full_;
    }

    [[noreturn]] void giveUp(std::uint64_t skipped) const {
        throw platform::Failure(QStringLiteral("--unique: no further unique invented name after ") +
                                grouped(skipped) + QStringLiteral(" tries (") + grouped(made_) +
                                QStringLiteral(" names made)"));
    }

    const GenerateRequest& request_;
    generate::InventedPersons& persons_;
    generate::FastRandom random_;
    generate::FlatKeySet seen_;
    generate::Person person_;
    std::string full_;
    std::uint64_t made_ = 0;
};

template <class Writer>
void inventInto(Writer& writer, const GenerateRequest& request, PersonInventor& persons) {
    for (std::int32_t i = 0; i < request.count; ++i) writer.add(persons.next());
}

}  // namespace

void inventNames(const GenerateRequest& request, const QString& databasePath) {
    // The seed makes the inventors' seeds, then the persons' draw.
    generate::FastRandom seeds(seedOf(request));
    generate::InventedPersons invented(inventionPlanFor(request, databasePath), seeds.next());
    PersonInventor persons(request, invented, seeds.next());
    const OutputOptions options = outputOptionsOf(request);
    try {
        writeRows(request.format, options,
                  [&](auto& writer) { inventInto(writer, request, persons); });
    } catch (const generate::InventFailure& failure) {
        throw platform::Failure(QString::fromUtf8(failure.what()));
    }
}

}  // namespace cli
