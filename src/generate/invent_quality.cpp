#include "generate/invent_quality.h"

#include <algorithm>

#include "generate/inventor.h"
#include "generate/name_model_text.h"

namespace generate {

namespace {

// Length at a share of the learned names (nearest rank).
std::size_t lengthAt(const NameModel& model, double share) {
    const auto& counts = model.lengthCounts();
    const double wanted = share * static_cast<double>(model.nameCount());
    double below = 0;
    for (std::size_t length = 0; length < counts.size(); ++length) {
        below += counts[length];
        if (below >= wanted) return length;
    }
    return counts.size() - 1;
}

std::vector<std::string> foldedCharacters(GraphemeSplitter& splitter, const std::string& name) {
    std::vector<std::string> characters = splitter.split(name);
    for (std::string& c : characters) c = foldCase(c);
    return characters;
}

using Triples = std::unordered_set<std::string>;

Triples triplesOf(const std::vector<std::string>& names) {
    GraphemeSplitter splitter;
    Triples triples;
    for (const std::string& name : names) {
        const auto c = foldedCharacters(splitter, name);
        for (std::size_t i = 2; i < c.size(); ++i) triples.insert(c[i - 2] + c[i - 1] + c[i]);
    }
    return triples;
}

bool usesKnownTriples(const std::vector<std::string>& c, const Triples& triples) {
    for (std::size_t i = 2; i < c.size(); ++i)
        if (!triples.count(c[i - 2] + c[i - 1] + c[i])) return false;
    return true;
}

double percent(std::size_t part, std::size_t whole) {
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

HeldOutSplit splitHeldOut(const std::vector<std::string>& names, std::uint64_t seed) {
    std::vector<std::string> different;
    std::unordered_set<std::string> seen;
    for (const std::string& n : names)
        if (seen.insert(foldCase(trimmedName(n))).second) different.emplace_back(trimmedName(n));
    SplitMix64 random(seed);
    for (std::size_t i = different.size(); i > 1; --i)
        std::swap(different[i - 1], different[random.below(i)]);
    HeldOutSplit split;
    const std::size_t held = different.size() / 5;
    for (std::size_t i = 0; i < different.size(); ++i) {
        if (i < held)
            split.heldBack.insert(foldCase(different[i]));
        else
            split.learned.push_back(different[i]);
    }
    return split;
}

InventQuality measureInventQuality(const NameModel& model, const HeldOutSplit& split,
                                   std::size_t count, std::uint64_t seed) {
    const std::size_t shortest = lengthAt(model, 0.05), longest = lengthAt(model, 0.95);
    const Triples triples = triplesOf(split.learned);
    GraphemeSplitter splitter;
    Inventor inventor(model, {}, seed);
    std::unordered_set<std::string> found;
    std::size_t inRange = 0, known = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name(inventor.next());
        const auto c = foldedCharacters(splitter, name);
        const std::string folded = foldCase(name);
        if (split.heldBack.count(folded)) found.insert(folded);
        inRange += c.size() >= shortest && c.size() <= longest;
        known += usesKnownTriples(c, triples);
    }
    return {percent(found.size(), split.heldBack.size()), percent(inRange, count),
            percent(known, count),
            static_cast<double>(inventor.tries()) / static_cast<double>(inventor.made())};
}

}  // namespace generate
