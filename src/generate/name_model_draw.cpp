// Drawing from a trained name model: its contexts laid out for the
// processor's caches, and names drawn and spelled from them.
#include <cstring>

#include "generate/name_model.h"

namespace generate {

// Each context's head takes two slots, at an even slot so that it lies in
// one cache line, and its entries follow it.
void NameModel::layOutForDrawing() {
    slots_.clear();
    slotOf_.resize(contexts_.size());
    for (std::size_t i = 0; i < contexts_.size(); ++i) {
        if (slots_.size() % 2 != 0) slots_.emplace_back();
        slotOf_[i] = static_cast<State>(slots_.size());
        slots_.resize(slots_.size() + kHeadSlots + (contexts_[i].end - contexts_[i].begin));
    }
    for (std::size_t i = 0; i < contexts_.size(); ++i) {
        const Context& c = contexts_[i];
        Slot* const head = &slots_[slotOf_[i]];
        head[0].head = {c.total, c.kept, c.end - c.begin, slotOf_[c.shorter]};
        head[1].more = {c.symbols, c.backoffCost, 0};
        for (std::uint32_t e = c.begin; e < c.end; ++e) {
            Entry entry = entries_[e];
            entry.next = entry.symbol == kBoundary ? 0 : slotOf_[entry.next];
            head[kHeadSlots + e - c.begin].entry = entry;
        }
    }
}

// The first entry whose cumulative weight is above `weight` (< kept), by
// halves without branches: the draw is random, so a branch would be mispredicted.
inline std::uint32_t NameModel::entryAt(State state, std::uint64_t weight) const {
    std::uint32_t first = state + kHeadSlots;
    for (std::uint32_t n = slots_[state].head.count; n > 1;) {
        const std::uint32_t half = n / 2;
        first = slots_[first + half - 1].entry.cumulative <= weight ? first + half : first;
        n -= half;
    }
    return first;
}

inline std::uint32_t NameModel::entryIn(State state, Symbol s) const {
    const std::uint32_t begin = state + kHeadSlots;
    if (smallAlphabet_) {
        const std::uint64_t symbols = slots_[state + 1].more.symbols;
        const std::uint64_t bit = 1ull << s;
        if ((symbols & bit) == 0) return FlatKeyMap::kMissing;
        return begin + static_cast<std::uint32_t>(bitCount(symbols & (bit - 1)));
    }
    std::uint32_t first = begin;
    for (std::uint32_t n = slots_[state].head.count; n > 0;) {
        const std::uint32_t half = n / 2;
        if (slots_[first + half].entry.symbol < s) {
            first += half + 1;
            n -= half + 1;
        } else {
            n = half;
        }
    }
    const bool found = first < begin + slots_[state].head.count && slots_[first].entry.symbol == s;
    return found ? first : FlatKeyMap::kMissing;
}

// Inlined into drawRest, its one caller, where most of the time goes.
[[gnu::always_inline]] inline NameModel::Symbol NameModel::sample(State& state, SplitMix64& random,
                                                                  Cost& cost) const {
    State at = state;
    std::uint32_t entry = 0;
    for (;; at = slots_[at].head.shorter) {
        const Head& head = slots_[at].head;
        // Most draws back off: the shorter context is fetched while the
        // number is drawn.
        __builtin_prefetch(&slots_[head.shorter]);
        const std::uint64_t r = random.below(head.total);
        if (r >= head.kept) continue;  // the discounted share: ask the shorter context
        entry = entryAt(at, r);
        break;
    }
    // The symbol's chance, and what follows, come from the longest context
    // that saw it; the contexts above that one pass it on.
    const Symbol s = slots_[entry].entry.symbol;
    // Mostly the symbol's longest context is this one, and its next state
    // is what the next draw starts from.
    __builtin_prefetch(&slots_[slots_[entry].entry.next]);
    for (State longer = state; longer != at; longer = slots_[longer].head.shorter) {
        const std::uint32_t e = entryIn(longer, s);
        if (e != FlatKeyMap::kMissing) {
            entry = e;
            break;
        }
        cost += slots_[longer + 1].more.backoffCost;
    }
    cost += slots_[entry].entry.cost;
    state = slots_[entry].entry.next;
    return s;
}

bool NameModel::drawRest(State state, SplitMix64& random, std::size_t longest, Cost mostCost,
                         Cost& cost, std::vector<Symbol>& symbols) const {
    for (;;) {
        const Symbol s = sample(state, random, cost);
        if (s == kBoundary) return true;
        // Costs only grow: a name already too unlikely is given up at once.
        if (symbols.size() == longest || cost > mostCost) return false;
        symbols.push_back(s);
    }
}

std::string_view NameModel::spellBytes(const std::vector<Symbol>& symbols, bool folded,
                                       std::string& buffer) const {
    const std::string& bytes = folded ? foldedBytes_ : textBytes_;
    const std::size_t most = symbols.size() * (folded ? longestFolded_ : longestText_) + kCopyBlock;
    if (buffer.size() < most) buffer.resize(most);
    char* const begin = buffer.data();
    char* to = begin;
    for (const Symbol s : symbols) {
        const Span& span = spans_[s];
        const char* from = bytes.data() + (folded ? span.folded : span.text);
        const std::uint32_t size = folded ? span.foldedSize : span.textSize;
        if (size <= kCopyBlock)
            std::memcpy(to, from, kCopyBlock);
        else
            std::memcpy(to, from, size);
        to += size;
    }
    return {begin, static_cast<std::size_t>(to - begin)};
}

bool NameModel::keepsAfterThinning(Cost cost, SplitMix64& random) const {
    if (cost >= common_) return true;
    // Kept with the chance 2^-(common_ - cost): -log2 of a uniform draw is
    // exponential, so it is at least that with just that chance.
    const std::uint64_t draw = random.next() | 1;
    return costOf(draw, ~0ull) >= common_ - cost;
}

}  // namespace generate
