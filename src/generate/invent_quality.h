#pragma once

// How well invented names catch a list's style: a fixed share of the list is
// held back, the model learns the rest, and the invented names are checked
// against what was held back and against what was learned.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "generate/name_model.h"

namespace generate {

struct HeldOutSplit {
    std::vector<std::string> learned;
    std::unordered_set<std::string> heldBack;  // case-folded
};

// The different names of a list (ignoring case), shuffled with the seed
// (Fisher-Yates over SplitMix64), then parted: the first fifth is held back.
HeldOutSplit splitHeldOut(const std::vector<std::string>& names, std::uint64_t seed);

struct InventQuality {
    double recall = 0;         // percent of held-back names invented
    double inLengthRange = 0;  // percent of names within the 5th-95th percentile of lengths
    double knownTriples = 0;   // percent of names whose letter triples all occur in learned names
    double triesPerName = 0;
};

// Invents `count` names with the seed and measures them. Lengths are in
// characters; triples are of case-folded characters, boundaries not counted,
// so names shorter than three characters have none to miss.
InventQuality measureInventQuality(const NameModel& model, const HeldOutSplit& split,
                                   std::size_t count, std::uint64_t seed);

}  // namespace generate
