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

std::uint64_t seedOf(const GenerateRequest& request) {
    if (request.seed) return *request.seed;
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// One JSON object a person: its parts, the full name for --part full, its
// sex and origin (null where the list has none), and "invented": true.
// jsonl writes one a line, json one array of them.
class RecordWriter : public LineWriter {
public:
    RecordWriter(const OutputOptions& options, bool array) : LineWriter(options), array_(array) {
        if (array_) append("[");
    }

    void addRecord(const InventedRow& row) {
        if (array_) {
            if (rows_++ > 0) append(",");
            endLine();
        }
        record_.clear();
        record_.push_back('{');
        addField("first", row.first, !row.first.empty());
        addField("last", row.last, !row.last.empty());
        addField("full", row.shown, !row.first.empty() && !row.last.empty());
        record_ += "\"sex\": ";
        if (row.sex == InventedSex::Unknown)
            record_ += "null";
        else
            appendJsonString(record_, row.sex == InventedSex::Male ? "male" : "female");
        record_ += ", \"origin\": ";
        if (row.origin->tag.empty())
            record_ += "null";
        else
            appendJsonString(record_, row.origin->tag);
        record_ += ", \"invented\": true}";
        append(record_);
        if (!array_) endLine();
    }

    void finish() {
        if (array_) {
            endLine();
            append("]");
            endLine();
        }
        LineWriter::finish();
    }

private:
    void addField(const char* key, std::string_view value, bool present) {
        if (!present) return;
        record_ += '"';
        record_ += key;
        record_ += "\": ";
        appendJsonString(record_, value);
        record_ += ", ";
    }

    bool array_;
    std::uint64_t rows_ = 0;
    std::string record_;
};

// A full name goes to CSV as its two fields, given name first; every other
// writer takes the row as text shows it.
template <class Writer>
void addRow(Writer& writer, const InventedRow& row) {
    if constexpr (std::is_same_v<Writer, RecordWriter>) {
        writer.addRecord(row);
    } else if constexpr (std::is_same_v<Writer, CsvWriter>) {
        if (!row.first.empty() && !row.last.empty())
            writer.addUtf8Row({row.first, " ", row.last});
        else
            writer.addUtf8Row({row.shown});
    } else {
        writer.addUtf8Row({row.shown});
    }
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
    for (std::int32_t i = 0; i < request.count; ++i) addRow(writer, persons.next());
}

}  // namespace

void inventNames(const GenerateRequest& request, const QString& databasePath) {
    // The seed makes the inventors' seeds, then the persons' draw.
    generate::SplitMix64 seeds(seedOf(request));
    const InventionSet set(request, databasePath, seeds.next());
    PersonInventor persons(request, set, seeds.next());
    const OutputOptions options = outputOptionsOf(request);
    try {
        if (formatWords().contains(request.format)) {
            writeRows(request.format, options,
                      [&](auto& writer) { inventInto(writer, request, persons); });
        } else {
            RecordWriter writer(options, request.format == QLatin1String("json"));
            inventInto(writer, request, persons);
            writer.finish();
        }
    } catch (const generate::InventFailure& failure) {
        throw platform::Failure(QString::fromUtf8(failure.what()));
    }
}

}  // namespace cli
