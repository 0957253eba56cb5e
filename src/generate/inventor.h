#pragma once

// Invents names from a trained model, one at a time, under filters, from a
// seed: the same model, filters and seed give the same names everywhere.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generate/name_model.h"
#include "generate/name_model_tables.h"

namespace generate {

// Lengths count characters as a reader sees them (grapheme clusters). The
// starts-with and ends-with texts are compared ignoring case (full case
// folding), so "gi" finds "Giulia". An invented name is never one of the
// model's names, ignoring case.
struct InventFilters {
    std::size_t minLength = 0;  // 0: no least length
    std::size_t maxLength = 0;  // 0: up to the longest learned name (or minLength)
    std::string startsWith;     // UTF-8; empty: any start
    std::string endsWith;       // UTF-8; empty: any end
    bool unique = false;        // no name twice, ignoring case

    bool operator==(const InventFilters&) const = default;
};

// How long inventing may look before it gives up with an InventFailure.
struct InventLimits {
    // Tries that fail in a row: one name that cannot be found.
    std::uint64_t triesPerName = 100000;
    // Over a whole run: at most triesPerName + averageTriesPerName x names made,
    // which ends a run that still finds names, but ever more slowly.
    std::uint64_t averageTriesPerName = 1000;
};

class Inventor {
public:
    // Throws InventFailure for filters that no name can meet (a least length
    // above the greatest, a start with characters the model never saw).
    Inventor(const NameModel& model, InventFilters filters, std::uint64_t seed,
             InventLimits limits = {});

    // The next invented name as UTF-8, valid until the next call. Throws
    // InventFailure when the limits are reached.
    std::string_view next();

    std::uint64_t tries() const { return tries_; }
    std::uint64_t made() const { return made_; }

private:
    using Symbol = NameModel::Symbol;
    using History = NameModel::History;

    bool tryOnce();
    bool drawStart(History& h);
    Symbol drawStartSymbol(History h, std::string_view remaining);
    bool meetsLengths() const;
    [[noreturn]] void giveUp(std::uint64_t failed) const;
    [[noreturn]] void giveUpSlowing() const;

    const NameModel& model_;
    InventFilters filters_;
    InventLimits limits_;
    std::string foldedStart_;
    std::string foldedEnd_;
    std::size_t longest_;
    SplitMix64 random_;
    // Lengths and ends are met by drawing until a name fits: names the model
    // finds unlikely are then offered too, or a rare fit could never be met.
    bool siftsUnlikely_;
    NameModel::State startState_;
    NameModel::Cost mostCost_;  // the costliest name offered
    NameModel::Cost cost_ = 0;
    FlatKeySet given_;
    std::vector<Symbol> symbols_;
    std::vector<std::uint64_t> startChances_;
    std::string folded_;
    std::string name_;
    std::uint64_t tries_ = 0;
    std::uint64_t made_ = 0;
};

}  // namespace generate
