// `generate --invent`: persons drawn as real ones are (an origin by the
// shares, a sex at equal odds), each part of the name invented by its list's
// model, written in the formats of real names or as records.
#include <algorithm>
#include <random>
#include <type_traits>

#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"
#include "cli/invent_sources.h"
#include "cli/output.h"
#include "generate/name_model_text.h"
#include "platform/failure.h"

namespace cli {

namespace {

// One invented person, as the writers take it; the views live until the
// next person.
struct InventedRow {
    std::string_view first;  // empty for --part last
    std::string_view last;   // empty for --part first
    std::string_view shown;  // the row as text shows it: the full name or the part
    InventedSex sex = InventedSex::Unknown;
    const InventedOrigin* origin = nullptr;
};

// The row as the writers of drawn names take it. A person of a list
// without sexes (the User List) is written without sex and origin.
PersonRow personRowOf(const InventedRow& row) {
    PersonRow person;
    person.person.first = row.first;
    person.person.last = row.last;
    person.person.sex = row.sex == InventedSex::Male ? generate::Sex::Male : generate::Sex::Female;
    person.person.order = row.origin->familyFirst ? generate::NameOrder::FamilyFirst
                                                  : generate::NameOrder::GivenFirst;
    person.person.blankBetween = row.origin->blankBetween;
    if (row.sex != InventedSex::Unknown) person.origin = row.origin->tag;
    person.invented = true;
    return person;
}

// Draws the persons: an origin by its share, a voice at equal odds, then
// each part from its inventor. --unique skips a row that came before,
// ignoring case, and gives up after as many rows in a row as an inventor
// tries for one name.
class PersonInventor {
public:
    PersonInventor(const GenerateRequest& request, const InventionSet& set, std::uint64_t seed)
        : request_(request), origins_(set.origins()), random_(seed) {
        double total = 0;
        for (const InventedOrigin& origin : origins_) cumulative_.push_back(total += origin.share);
        for (double& bound : cumulative_) bound /= total;
    }

    const InventedRow& next() {
        for (std::uint64_t skipped = 0;; ++skipped) {
            if (skipped >= generate::InventLimits{}.triesPerName) giveUp(skipped);
            draw();
            if (!request_.unique ||
                seen_.insert(generate::foldedNameHash(generate::foldCase(row_.shown))))
                break;
        }
        ++made_;
        return row_;
    }

private:
    void draw() {
        const InventedOrigin& origin = pickOrigin();
        const InventedVoice& voice = origin.voices[random_.below(origin.voices.size())];
        row_.origin = &origin;
        row_.sex = voice.sex;
        row_.first = voice.first ? voice.first->next() : std::string_view();
        row_.last = voice.last ? voice.last->next() : std::string_view();
        if (row_.first.empty() || row_.last.empty()) {
            row_.shown = row_.first.empty() ? row_.last : row_.first;
            return;
        }
        full_.assign(origin.familyFirst ? row_.last : row_.first);
        if (origin.blankBetween) full_ += ' ';
        full_.append(origin.familyFirst ? row_.first : row_.last);
        row_.shown = full_;
    }

    const InventedOrigin& pickOrigin() {
        if (origins_.size() == 1) return origins_.front();
        const double at = static_cast<double>(random_.next() >> 11) * 0x1.0p-53;
        const auto found = std::upper_bound(cumulative_.begin(), cumulative_.end(), at);
        return origins_[std::min<std::size_t>(static_cast<std::size_t>(found - cumulative_.begin()),
                                              origins_.size() - 1)];
    }

    [[noreturn]] void giveUp(std::uint64_t skipped) const {
        throw platform::Failure(QStringLiteral("--unique: no further unique invented name after ") +
                                grouped(skipped) + QStringLiteral(" tries (") + grouped(made_) +
                                QStringLiteral(" names made)"));
    }

    const GenerateRequest& request_;
    const std::vector<InventedOrigin>& origins_;
    generate::SplitMix64 random_;
    std::vector<double> cumulative_;
    generate::FlatKeySet seen_;
    InventedRow row_;
    std::string full_;
    std::uint64_t made_ = 0;
};

template <class Writer>
void inventInto(Writer& writer, const GenerateRequest& request, PersonInventor& persons) {
    for (std::int32_t i = 0; i < request.count; ++i) writer.add(personRowOf(persons.next()));
}

}  // namespace

void inventNames(const GenerateRequest& request, const QString& databasePath) {
    // The seed makes the inventors' seeds, then the persons' draw.
    generate::SplitMix64 seeds(seedOf(request));
    const InventionSet set(request, databasePath, seeds.next());
    PersonInventor persons(request, set, seeds.next());
    const OutputOptions options = outputOptionsOf(request);
    try {
        writeRows(request.format, options,
                  [&](auto& writer) { inventInto(writer, request, persons); });
    } catch (const generate::InventFailure& failure) {
        throw platform::Failure(QString::fromUtf8(failure.what()));
    }
}

}  // namespace cli
