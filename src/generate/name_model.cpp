#include "generate/name_model.h"

#include <algorithm>
#include <bit>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "generate/name_model_text.h"

namespace generate {

namespace {

// Counts are weighed in 1/256, so that discounts are whole numbers and every
// draw is integer arithmetic, the same on every machine.
constexpr std::uint64_t kCountScale = 256;
constexpr std::size_t kLargestAlphabet = 0xFFFF - 2;
constexpr NameModel::Cost kUnreachable = 1u << 24;
constexpr std::uint64_t kLargestWeight = 0xFFFFFFFFull;
// The model's own names that set its plausible and common costs.
constexpr std::uint64_t kCalibrationSeed = 0x5EEDF00D;
constexpr std::size_t kCalibrationNames = 4096;
constexpr int kCalibrationTries = 40000;

// Bits for one symbol in a key: enough for every symbol of the alphabet.
int symbolBits(std::size_t symbols) {
    return std::max(1, static_cast<int>(std::bit_width(symbols - 1)));
}

void checkSettings(const ModelSettings& s) {
    const auto isDiscount = [](int d) { return d >= 0 && d < static_cast<int>(kCountScale); };
    if (s.order < 1 || s.order > NameModel::kMaxOrder)
        throw InventFailure("the model's order must be from 1 to " +
                            std::to_string(NameModel::kMaxOrder));
    if (!isDiscount(s.discountOnce) || !isDiscount(s.discountTwice) ||
        !isDiscount(s.discountMore) || s.shortContextShare < 0 ||
        s.shortContextShare > static_cast<int>(kCountScale))
        throw InventFailure("the model's discounts must be from 0 to 255 (the share 0 to 256)");
    const auto isPercent = [](int p) { return p >= 0 && p <= 100; };
    if (!isPercent(s.plausiblePercent) || !isPercent(s.commonPercent))
        throw InventFailure("the model's shares must be from 0 to 100 percent");
}

}  // namespace

// Counts the n-grams of the names, then lays them out as contexts whose
// entries hold cumulative weights. An n-gram's key is its symbols, oldest in
// the highest field: the key of a context followed by a symbol is the key of
// the context shifted up by one field, the symbol below.
class NameModel::Trainer {
public:
    Trainer(NameModel& model, const ModelSettings& settings) : model_(model) {
        model_.settings_ = settings;
        model_.spans_.resize(2);  // symbol 0 and the boundary mark
        model_.lengthCounts_ = {0};
    }

    void learn(const std::vector<std::string>& names) {
        std::vector<std::vector<Symbol>> spelled;
        for (const std::string& name : names) {
            const std::string_view trimmed = trimmedName(name);
            if (trimmed.empty() || !model_.names_.insert(foldedNameHash(foldCase(trimmed))))
                continue;
            spelled.emplace_back();
            for (const std::string& cluster : splitter_.split(trimmed))
                spelled.back().push_back(intern(cluster));
            countLength(spelled.back().size());
        }
        if (model_.nameCount() < kMinimumNames)
            throw InventFailure("inventing names needs a list of at least " +
                                std::to_string(kMinimumNames) +
                                " different names to learn from; this one has " +
                                std::to_string(model_.nameCount()));
        chooseKeyLayout();
        for (const std::vector<Symbol>& symbols : spelled) countNgrams(symbols);
        // The slack that spelling copies into and out of in whole blocks.
        model_.textBytes_.append(NameModel::kCopyBlock, '\0');
        model_.foldedBytes_.append(NameModel::kCopyBlock, '\0');
    }

    void build() {
        std::vector<std::pair<std::uint64_t, std::uint32_t>> grams;
        grams.reserve(counts_.size());
        counts_.forEach([&](std::uint64_t key, std::uint32_t n) { grams.emplace_back(key, n); });
        useContinuationCounts(grams);
        std::sort(grams.begin(), grams.end());
        std::vector<std::uint64_t> contextKeys;
        for (std::size_t i = 0; i < grams.size();) {
            const std::uint64_t context = grams[i].first >> model_.bits_;
            std::size_t end = i;
            while (end < grams.size() && grams[end].first >> model_.bits_ == context) ++end;
            addContext(context, grams.data() + i, grams.data() + end);
            contextKeys.push_back(context);
            i = end;
        }
        linkShorterContexts(contextKeys);
        linkNextStates(contextKeys);
        setCosts();
        model_.layOutForDrawing();
        calibrate();
    }

private:
    // A key holds a whole n-gram, so the order is at most what 64 bits hold.
    void chooseKeyLayout() {
        NameModel& m = model_;
        m.bits_ = symbolBits(m.spans_.size());
        m.smallAlphabet_ = m.spans_.size() <= 64;
        m.order_ = std::min(m.settings_.order, 64 / m.bits_);
        m.historyMask_ = m.fieldMask(m.order_ - 1);
        for (int i = 1; i < m.order_; ++i)
            m.startHistory_ = (m.startHistory_ << m.bits_) | kBoundary;
    }

    Symbol intern(const std::string& cluster) {
        NameModel& m = model_;
        const auto [it, added] = symbolOf_.try_emplace(cluster, m.spans_.size());
        if (added) {
            if (m.spans_.size() - 2 >= kLargestAlphabet)
                throw InventFailure("the list has too many different characters to learn from");
            const std::string folded = foldCase(cluster);
            m.spans_.push_back({static_cast<std::uint32_t>(m.textBytes_.size()),
                                static_cast<std::uint32_t>(m.foldedBytes_.size()),
                                static_cast<std::uint32_t>(cluster.size()),
                                static_cast<std::uint32_t>(folded.size())});
            m.textBytes_ += cluster;
            m.foldedBytes_ += folded;
            m.longestText_ = std::max(m.longestText_, m.spans_.back().textSize);
            m.longestFolded_ = std::max(m.longestFolded_, m.spans_.back().foldedSize);
        }
        return it->second;
    }

    void countLength(std::size_t length) {
        std::vector<std::uint32_t>& lengths = model_.lengthCounts_;
        if (lengths.size() <= length) lengths.resize(length + 1, 0);
        ++lengths[length];
    }

    // Every symbol, and the end mark, under each context length 0 .. order - 1.
    void countNgrams(const std::vector<Symbol>& symbols) {
        History h = model_.startHistory_;
        const auto count = [&](Symbol next) {
            for (int k = 0; k < model_.order_; ++k)
                ++counts_.at((h & model_.fieldMask(k)) << model_.bits_ | next, 0);
            h = model_.push(h, next);
        };
        for (const Symbol s : symbols) count(s);
        count(kBoundary);
    }

    // Kneser-Ney: below the full order, an n-gram counts the different
    // symbols seen before it rather than how often it was seen, so a shorter
    // context predicts what fits in new places, not what was common.
    void useContinuationCounts(std::vector<std::pair<std::uint64_t, std::uint32_t>>& grams) {
        const NameModel& m = model_;
        FlatKeyMap before;
        for (const auto& [key, n] : grams)
            if (m.fieldsOf(key) >= 2) ++before.at(key & m.fieldMask(m.fieldsOf(key) - 1), 0);
        for (auto& [key, n] : grams)
            if (m.fieldsOf(key) < m.order_) n = before.get(key);
    }

    std::uint64_t discount(std::uint32_t n, std::uint64_t context) const {
        const ModelSettings& s = model_.settings_;
        const auto d = static_cast<std::uint64_t>(n == 1   ? s.discountOnce
                                                  : n == 2 ? s.discountTwice
                                                           : s.discountMore);
        const bool isShort = model_.fieldsOf(context) <= 2;
        return isShort ? d * static_cast<std::uint64_t>(s.shortContextShare) / kCountScale : d;
    }

    void addContext(std::uint64_t key, const std::pair<std::uint64_t, std::uint32_t>* begin,
                    const std::pair<std::uint64_t, std::uint32_t>* end) {
        Context c;
        c.begin = static_cast<std::uint32_t>(model_.entries_.size());
        const bool isEmptyContext = key == 0;
        std::uint64_t total = 0;
        std::uint64_t kept = 0;
        for (auto* gram = begin; gram != end; ++gram) {
            const std::uint64_t weight = gram->second * kCountScale;
            total += weight;
            kept += isEmptyContext ? weight : weight - discount(gram->second, key);
            Entry& e = model_.entries_.emplace_back();
            e.cumulative = static_cast<std::uint32_t>(kept);
            e.symbol = static_cast<Symbol>(gram->first & model_.fieldMask(1));
            if (model_.smallAlphabet_) c.symbols |= 1ull << e.symbol;
        }
        // Weights are kept in 32 bits, which keeps the model small enough for
        // the processor's caches: that holds lists of up to 16 million names.
        if (total > kLargestWeight) throw InventFailure("the list is too large to learn from");
        c.total = static_cast<std::uint32_t>(total);
        c.kept = static_cast<std::uint32_t>(kept);
        c.end = static_cast<std::uint32_t>(model_.entries_.size());
        if (!isEmptyContext)
            model_.contextIndex_.at(key, static_cast<std::uint32_t>(model_.contexts_.size()));
        model_.contexts_.push_back(c);
    }

    void linkShorterContexts(const std::vector<std::uint64_t>& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::uint64_t shorter = keys[i] & model_.fieldMask(model_.fieldsOf(keys[i]) - 1);
            model_.contexts_[i].shorter = shorter == 0 ? 0 : model_.contextIndex_.get(shorter);
        }
    }

    // An entry leads to its context followed by its symbol, less the oldest
    // symbol at the full order. That context was seen, since the n-gram was.
    void linkNextStates(const std::vector<std::uint64_t>& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const Context& c = model_.contexts_[i];
            for (std::uint32_t e = c.begin; e < c.end; ++e) {
                Entry& entry = model_.entries_[e];
                if (entry.symbol != kBoundary)
                    entry.next = model_.longestContext(model_.push(keys[i], entry.symbol));
            }
        }
    }

    void setCosts() {
        NameModel& m = model_;
        for (std::uint32_t i = 0; i < m.contexts_.size(); ++i) {
            Context& c = m.contexts_[i];
            c.backoffCost = c.total > c.kept ? costOf(c.total - c.kept, c.total) : kUnreachable;
            for (std::uint32_t e = c.begin; e < c.end; ++e)
                m.entries_[e].cost = costOf(
                    std::max<std::uint64_t>(1, m.chanceIn(i, m.entries_[e].symbol)), 1ull << 32);
        }
    }

    // Draws the model's own names with a fixed seed and takes the costs at
    // the plausible and the common shares of them.
    void calibrate() {
        NameModel& m = model_;
        SplitMix64 random(kCalibrationSeed);
        std::vector<Cost> costs;
        std::vector<Symbol> symbols;
        std::string folded;
        const State start = m.stateAfter(m.startHistory_);
        for (int i = 0; i < kCalibrationTries && costs.size() < kCalibrationNames; ++i) {
            Cost cost = 0;
            symbols.clear();
            if (m.drawRest(start, random, m.longestName(), ~Cost{0}, cost, symbols) &&
                !m.isTrainingName(foldedNameHash(m.spellFolded(symbols, folded))))
                costs.push_back(cost);
        }
        if (costs.empty()) return;
        std::sort(costs.begin(), costs.end());
        const auto at = [&](int percent) {
            return costs[std::min(costs.size() - 1,
                                  costs.size() * static_cast<std::size_t>(percent) / 100)];
        };
        m.leastLikely_ =
            m.settings_.plausiblePercent >= 100 ? ~Cost{0} : at(m.settings_.plausiblePercent);
        m.common_ = m.settings_.commonPercent <= 0 ? 0 : at(m.settings_.commonPercent);
    }

    NameModel& model_;
    GraphemeSplitter splitter_;
    std::unordered_map<std::string, Symbol> symbolOf_;
    FlatKeyMap counts_;
};

NameModel NameModel::train(const std::vector<std::string>& utf8Names,
                           const ModelSettings& settings) {
    checkSettings(settings);
    NameModel model;
    Trainer trainer(model, settings);
    trainer.learn(utf8Names);
    trainer.build();
    return model;
}

std::uint32_t NameModel::longestContext(History h) const {
    for (int k = order_ - 1; k >= 1; --k) {
        const std::uint32_t index = contextIndex_.get(h & fieldMask(k));
        if (index != FlatKeyMap::kMissing) return index;
    }
    return 0;
}

std::uint32_t NameModel::entryOf(const Context& c, Symbol s) const {
    if (smallAlphabet_) {
        const std::uint64_t bit = 1ull << s;
        if ((c.symbols & bit) == 0) return FlatKeyMap::kMissing;
        return c.begin + static_cast<std::uint32_t>(bitCount(c.symbols & (bit - 1)));
    }
    const auto last = entries_.begin() + c.end;
    const auto found = std::lower_bound(entries_.begin() + c.begin, last, s,
                                        [](const Entry& e, Symbol x) { return e.symbol < x; });
    return found == last || found->symbol != s
               ? FlatKeyMap::kMissing
               : static_cast<std::uint32_t>(found - entries_.begin());
}

std::uint64_t NameModel::weightOf(const Context& c, Symbol s) const {
    const std::uint32_t i = entryOf(c, s);
    if (i == FlatKeyMap::kMissing) return 0;
    return entries_[i].cumulative - (i == c.begin ? 0 : entries_[i - 1].cumulative);
}

std::uint64_t NameModel::chanceIn(std::uint32_t context, Symbol s) const {
    std::uint32_t chain[kMaxOrder];
    int depth = 0;
    for (std::uint32_t index = context;; index = contexts_[index].shorter) {
        chain[depth++] = index;
        if (index == 0) break;
    }
    // From the empty context up: each context keeps its own share and passes
    // on its discounted share of the shorter context's chance.
    unsigned __int128 p = 0;
    for (int i = depth - 1; i >= 0; --i) {
        const Context& c = contexts_[chain[i]];
        p = ((static_cast<unsigned __int128>(weightOf(c, s)) << 32) +
             static_cast<std::uint64_t>(c.total - c.kept) * p) /
            c.total;
    }
    return static_cast<std::uint64_t>(p);
}

}  // namespace generate
