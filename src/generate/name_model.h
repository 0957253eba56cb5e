#pragma once

// A model of a list's names that invents new ones in the same style: an
// interpolated Kneser-Ney model of characters (grapheme clusters), where the
// next character is predicted from up to `order - 1` characters before it and
// every name starts and ends at a boundary mark. It learns the letters, their
// order, how names begin and end, and so how long they are.
//
// Names are drawn from it, then sifted by how likely the model finds them:
// the least likely (mostly unpronounceable) are not offered, and the most
// likely are thinned, so that a long run is not spent on the same few names.

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "generate/name_model_tables.h"

namespace generate {

// A failure of learning or inventing. The message reads after "quillfern: ".
class InventFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ModelSettings {
    // Characters predicted from up to order - 1 before them (1 to kMaxOrder).
    // A key of 64 bits holds an n-gram, so the order can be lower for a large
    // alphabet: at least 4 for up to 65,534 characters, 9 for up to 126.
    int order = 5;
    // Absolute discounts in 1/256 of a count, for n-grams seen once, twice,
    // and three or more times; what they take off goes to the shorter context.
    int discountOnce = 200;
    int discountTwice = 240;
    int discountMore = 250;
    // The share (in 1/256) of those discounts in contexts of one or two
    // characters: backing off from them makes letter triples never seen.
    int shortContextShare = 96;
    // Of the model's own names (drawn at training), the share in percent
    // that is likely enough to offer; the rest, the least likely, are not.
    int plausiblePercent = 80;
    // The share in percent of its own names that count as common: a name
    // more likely than those is offered only with the chance that makes it
    // as frequent as they are. 0: no thinning.
    int commonPercent = 20;
};

class NameModel {
public:
    using Symbol = std::uint16_t;
    // The last order - 1 symbols, the newest in the lowest bits.
    using History = std::uint64_t;
    // Where drawing stands: the longest learned context that ends the history
    // (where it lies in the layout for drawing).
    using State = std::uint32_t;
    // How unlikely a name is: -log2 of its chance, in 1/1024 of a bit.
    using Cost = std::uint32_t;

    static constexpr int kMaxOrder = 10;
    // The fewest different names (compared ignoring case) a model learns from.
    static constexpr std::size_t kMinimumNames = 5;
    // Marks the start and the end of a name.
    static constexpr Symbol kBoundary = 1;

    // Learns from UTF-8 names. White space at either end is dropped, empty
    // entries are skipped, and names that differ only in case count once.
    // Throws InventFailure for fewer than kMinimumNames different names.
    static NameModel train(const std::vector<std::string>& utf8Names,
                           const ModelSettings& settings = {});

    const ModelSettings& settings() const { return settings_; }
    // The order in use (see ModelSettings::order).
    int order() const { return order_; }
    std::size_t nameCount() const { return names_.size(); }
    // Different characters, the boundary mark not counted.
    std::size_t alphabetSize() const { return spans_.size() - 2; }
    // How many learned names have each length in characters (index = length).
    const std::vector<std::uint32_t>& lengthCounts() const { return lengthCounts_; }
    std::size_t longestName() const { return lengthCounts_.size() - 1; }
    // The learned contexts and what they predict, for measuring the model.
    std::size_t contextCount() const { return contexts_.size(); }
    std::size_t entryCount() const { return entries_.size(); }

    // The hash of a name's case folding (see foldedNameHash).
    bool isTrainingName(std::uint64_t foldedHash) const { return names_.contains(foldedHash); }

    // A symbol's text as learned, and its case folding. Symbol 0 and the
    // boundary mark have empty texts.
    std::string_view text(Symbol s) const {
        return {textBytes_.data() + spans_[s].text, spans_[s].textSize};
    }
    std::string_view folded(Symbol s) const {
        return {foldedBytes_.data() + spans_[s].folded, spans_[s].foldedSize};
    }
    Symbol symbolCount() const { return static_cast<Symbol>(spans_.size()); }
    // The symbols' texts, or their foldings, one after the other, written
    // into `buffer` (grown as needed; it may hold more beyond the view).
    std::string_view spell(const std::vector<Symbol>& symbols, std::string& buffer) const {
        return spellBytes(symbols, false, buffer);
    }
    std::string_view spellFolded(const std::vector<Symbol>& symbols, std::string& buffer) const {
        return spellBytes(symbols, true, buffer);
    }

    History start() const { return startHistory_; }
    History push(History h, Symbol s) const { return ((h << bits_) | s) & historyMask_; }
    State stateAfter(History h) const { return slotOf_[longestContext(h)]; }

    // Draws the rest of a name from `state` up to the end mark, appending its
    // symbols and adding their costs. Gives up (false) as soon as the name
    // would grow past `longest` symbols or its cost past `mostCost`.
    bool drawRest(State state, SplitMix64& random, std::size_t longest, Cost mostCost, Cost& cost,
                  std::vector<Symbol>& symbols) const;
    // The chance of `s` after the history, in units of 2^-32.
    std::uint64_t chance(History h, Symbol s) const { return chanceIn(longestContext(h), s); }
    // -log2 of part / whole.
    static Cost costOf(std::uint64_t part, std::uint64_t whole) {
        return log2Fixed(whole) - log2Fixed(part);
    }

    // Whether a drawn name of this cost is likely enough to offer.
    bool isPlausible(Cost cost) const { return cost <= leastLikely_; }
    Cost leastLikely() const { return leastLikely_; }
    // Whether a drawn name of this cost is kept after thinning the common ones.
    bool keepsAfterThinning(Cost cost, SplitMix64& random) const;

private:
    struct Context {
        std::uint32_t total = 0;  // all weights, scaled counts
        std::uint32_t kept = 0;   // what the entries keep after discounting
        std::uint32_t begin = 0;  // entries [begin, end)
        std::uint32_t end = 0;
        std::uint32_t shorter = 0;  // the context without its oldest symbol
        Cost backoffCost = 0;       // of going on to the shorter context
        // The symbols it predicts, as bits, when the alphabet has at most
        // 64 symbols: an entry is then found by counting the bits below.
        std::uint64_t symbols = 0;
    };

    class Trainer;

    // The lowest `fields` symbols of a key, and how many a key holds.
    std::uint64_t fieldMask(int fields) const {
        return fields <= 0 ? 0 : fields * bits_ >= 64 ? ~0ull : (1ull << (fields * bits_)) - 1;
    }
    int fieldsOf(std::uint64_t key) const {
        return (static_cast<int>(std::bit_width(key)) + bits_ - 1) / bits_;
    }
    // Draws the symbol that follows and adds its cost; `state` moves on past
    // it (unless it is the end mark).
    Symbol sample(State& state, SplitMix64& random, Cost& cost) const;
    std::uint32_t longestContext(History h) const;
    std::string_view spellBytes(const std::vector<Symbol>& symbols, bool folded,
                                std::string& buffer) const;
    std::uint32_t entryOf(const Context& c, Symbol s) const;
    void layOutForDrawing();
    std::uint32_t entryIn(State state, Symbol s) const;
    std::uint32_t entryAt(State state, std::uint64_t weight) const;
    std::uint64_t weightOf(const Context& c, Symbol s) const;
    std::uint64_t chanceIn(std::uint32_t context, Symbol s) const;

    // Where a symbol's text and folding lie in the two byte buffers.
    struct Span {
        std::uint32_t text = 0;
        std::uint32_t folded = 0;
        std::uint32_t textSize = 0;
        std::uint32_t foldedSize = 0;
    };

    ModelSettings settings_;
    std::string textBytes_;
    std::string foldedBytes_;
    std::vector<Span> spans_;
    // Symbols are spelled in blocks of this many bytes, past their end into
    // the slack of both buffers: a fixed-size copy is a few moves, where a
    // copy of each symbol's own size would be a call.
    static constexpr std::size_t kCopyBlock = 16;
    std::uint32_t longestText_ = 0;  // bytes of the longest symbol text
    std::uint32_t longestFolded_ = 0;
    FlatKeySet names_;
    std::vector<std::uint32_t> lengthCounts_;
    int bits_ = 16;               // per symbol in a key
    bool smallAlphabet_ = false;  // Context::symbols in use
    int order_ = 1;
    History startHistory_ = 0;
    History historyMask_ = 0;
    // contexts_[0] is the empty context; the map finds the others.
    std::vector<Context> contexts_;
    FlatKeyMap contextIndex_;
    // What a context predicts.
    struct Entry {
        std::uint32_t cumulative;  // weight from the context's begin up to this one
        State next;                // the context after this symbol (a state when drawing)
        Cost cost;                 // of this symbol in this context
        Symbol symbol;
    };
    std::vector<Entry> entries_;
    // The layout for drawing: each context as a head of two slots followed
    // by its entries, so that a draw finds what a context predicts in the
    // memory next to it, mostly in one cache line. A state is a head's slot.
    struct Head {
        std::uint32_t total, kept, count;
        State shorter;
    };
    struct HeadMore {
        std::uint64_t symbols;
        Cost backoffCost;
        std::uint32_t unused;
    };
    union Slot {
        Head head{};
        HeadMore more;
        Entry entry;
    };
    static constexpr std::uint32_t kHeadSlots = 2;
    std::vector<Slot> slots_;
    std::vector<State> slotOf_;  // of each context
    // Costs of the model's own names at the plausible and common shares.
    Cost leastLikely_ = ~Cost{0};
    Cost common_ = 0;
};

// The hash under which a model and an inventor know a case-folded name.
inline std::uint64_t foldedNameHash(std::string_view folded) {
    return hashBytes(folded);
}

}  // namespace generate
