#pragma once

// What `generate --invent` learns from: the lists of --list or the origins of
// --origin, each part's list (per sex for first names) trained as a model of
// its own, with an inventor over it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "generate/inventor.h"
#include "generate/name_model.h"

namespace cli {

enum class InventedSex { Male, Female, Unknown };

// The inventor of one list, and how messages name the list.
class InventedPart {
public:
    // Throws generate::InventFailure for filters that no name can meet.
    InventedPart(const generate::NameModel& model, const generate::InventFilters& filters,
                 std::uint64_t seed, const QString& described);

    // The next name, valid until the next call; platform::Failure naming the
    // list when none is found.
    std::string_view next();

private:
    bool canWiden() const;

    const generate::NameModel& model_;
    generate::InventFilters filters_;
    std::uint64_t seed_;
    QString described_;  // "Italian (it) male first names"
    std::unique_ptr<generate::Inventor> inventor_;
};

// One sex of one origin (or list): where its first and last names come
// from. Only the parts asked for are there.
struct InventedVoice {
    InventedSex sex = InventedSex::Unknown;
    InventedPart* first = nullptr;
    InventedPart* last = nullptr;
};

struct InventedOrigin {
    std::string tag;  // empty for the User List and the built-in list
    bool familyFirst = false;
    bool blankBetween = true;
    double share = 1;
    std::vector<InventedVoice> voices;  // one is drawn per person, at equal odds
};

// The trained models and their inventors, as the request asks for them.
// Throws platform::Failure for lists that hold too few names and for filters
// that no name can meet, UsageError for origins that are not known.
class InventionSet {
public:
    InventionSet(const GenerateRequest& request, const QString& databasePath, std::uint64_t seed);
    ~InventionSet();
    InventionSet(const InventionSet&) = delete;
    InventionSet& operator=(const InventionSet&) = delete;

    const std::vector<InventedOrigin>& origins() const { return origins_; }

private:
    struct Learned;
    class Loader;

    // The inventor of a list, trained once however many voices share it.
    InventedPart* partFor(const QStringList& names, const QString& described, bool filtered);

    const GenerateRequest& request_;
    generate::SplitMix64 seeds_;
    std::vector<std::unique_ptr<Learned>> learned_;
    std::vector<InventedOrigin> origins_;
};

}  // namespace cli
