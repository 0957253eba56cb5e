#include "generate/inventor.h"

#include <algorithm>
#include <utility>

#include "generate/name_model_text.h"

namespace generate {

namespace {

// How a symbol's folding goes on along what is left of a wanted start: it
// fits when either is the beginning of the other.
bool fitsStart(std::string_view symbol, std::string_view remaining) {
    return !symbol.empty() && (remaining.starts_with(symbol) || symbol.starts_with(remaining));
}

std::string_view afterSymbol(std::string_view remaining, std::string_view symbol) {
    return symbol.size() >= remaining.size() ? std::string_view() : remaining.substr(symbol.size());
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

Inventor::Inventor(const NameModel& model, InventFilters filters, std::uint64_t seed,
                   InventLimits limits)
    : model_(model),
      filters_(std::move(filters)),
      limits_(limits),
      foldedStart_(foldCase(trimmedName(filters_.startsWith))),
      foldedEnd_(foldCase(trimmedName(filters_.endsWith))),
      longest_(filters_.maxLength > 0 ? filters_.maxLength
                                      : std::max(model.longestName(), filters_.minLength)),
      random_(seed),
      siftsUnlikely_(filters_.minLength == 0 && filters_.maxLength == 0 && foldedEnd_.empty()),
      startState_(model.stateAfter(model.start())),
      mostCost_(siftsUnlikely_ ? model.leastLikely() : ~NameModel::Cost{0}) {
    if (filters_.maxLength > 0 && filters_.minLength > filters_.maxLength)
        throw InventFailure("the least length (" + std::to_string(filters_.minLength) +
                            ") is greater than the greatest (" +
                            std::to_string(filters_.maxLength) + ")");
    bool canStart = foldedStart_.empty();
    for (Symbol s = 2; s < model_.symbolCount() && !canStart; ++s)
        canStart = fitsStart(model_.folded(s), foldedStart_);
    if (!canStart)
        throw InventFailure("no invented name can start with " + quoted(filters_.startsWith) +
                            ": the list's names have no such character");
}

std::string_view Inventor::next() {
    for (std::uint64_t failed = 0;; ++failed) {
        if (failed >= limits_.triesPerName) giveUp(failed);
        if (tries_ >= limits_.triesPerName + limits_.averageTriesPerName * made_) giveUpSlowing();
        ++tries_;
        if (tryOnce()) break;
    }
    ++made_;
    return model_.spell(symbols_, name_);
}

// One candidate: drawn symbol by symbol up to the end mark, then checked.
bool Inventor::tryOnce() {
    symbols_.clear();
    cost_ = 0;
    History h = model_.start();
    if (!drawStart(h)) return false;
    const NameModel::State state = symbols_.empty() ? startState_ : model_.stateAfter(h);
    if (!model_.drawRest(state, random_, longest_, mostCost_, cost_, symbols_)) return false;
    if (siftsUnlikely_ && !model_.isPlausible(cost_)) return false;
    if (!meetsLengths()) return false;
    const std::string_view folded = model_.spellFolded(symbols_, folded_);
    if (!folded.ends_with(foldedEnd_)) return false;
    const std::uint64_t hash = foldedNameHash(folded);
    if (model_.isTrainingName(hash)) return false;
    if (!model_.keepsAfterThinning(cost_, random_)) return false;
    return !filters_.unique || given_.insert(hash);
}

// The wanted start is drawn first, each symbol among those that fit it, in
// proportion to the model's chances for them.
bool Inventor::drawStart(History& h) {
    for (std::string_view remaining = foldedStart_; !remaining.empty();) {
        const Symbol s = drawStartSymbol(h, remaining);
        if (s == 0 || symbols_.size() == longest_) return false;
        symbols_.push_back(s);
        h = model_.push(h, s);
        remaining = afterSymbol(remaining, model_.folded(s));
    }
    return true;
}

NameModel::Symbol Inventor::drawStartSymbol(History h, std::string_view remaining) {
    startChances_.assign(model_.symbolCount(), 0);
    std::uint64_t total = 0;
    for (Symbol s = 2; s < model_.symbolCount(); ++s) {
        if (!fitsStart(model_.folded(s), remaining)) continue;
        startChances_[s] = model_.chance(h, s);
        total += startChances_[s];
    }
    if (total == 0) return 0;
    std::uint64_t r = random_.below(total);
    for (Symbol s = 2;; ++s) {
        if (r < startChances_[s]) {
            cost_ += NameModel::costOf(startChances_[s], total);
            return s;
        }
        r -= startChances_[s];
    }
}

bool Inventor::meetsLengths() const {
    if (symbols_.empty() || symbols_.size() < filters_.minLength) return false;
    return filters_.maxLength == 0 || symbols_.size() <= filters_.maxLength;
}

void Inventor::giveUp(std::uint64_t failed) const {
    std::string what =
        filters_.unique && made_ > 0 ? "no further unique invented name" : "no invented name";
    what += " fits these filters after " + std::to_string(failed) + " tries";
    if (made_ > 0) what += " (" + std::to_string(made_) + " names made)";
    throw InventFailure(what);
}

void Inventor::giveUpSlowing() const {
    throw InventFailure("inventing slowed to more than " +
                        std::to_string(limits_.averageTriesPerName) + " tries a name after " +
                        std::to_string(made_) + " names: these filters leave too few names");
}

}  // namespace generate
