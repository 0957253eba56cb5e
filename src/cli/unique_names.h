#pragma once

#include <cstdint>
#include <vector>

#include <QStringList>

namespace cli {

// The names of a list as rows show them, each numbered by its distinct form:
// entries that differ only in what the rows drop or change (blanks, letter
// case) share a number.
struct DistinctForms {
    std::vector<std::uint32_t> numberOf;  // by entry position from 0
    std::uint32_t count = 0;              // different forms
};
DistinctForms distinct(const QStringList& list);

// Remembers which numbers below a range have been seen, in time and memory
// that grow with what is remembered, never with its square: a bit per number
// when the range is small enough, a hash table of the numbers seen otherwise.
class SeenNumbers {
public:
    // `expected`: how many numbers will be remembered at most.
    SeenNumbers(std::uint64_t range, std::uint64_t expected);

    // Starts fetching where the number is remembered, so that a batch of
    // numbers waits for memory once rather than once each.
    void prefetch(std::uint64_t number) const {
        if (bits_.empty())
            __builtin_prefetch(&table_[slotOf(number)]);
        else
            __builtin_prefetch(&bits_[number >> 6]);
    }

    // True the first time a number is offered.
    bool firstTime(std::uint64_t number) {
        return bits_.empty() ? firstTimeInTable(number) : firstTimeInBits(number);
    }

private:
    bool firstTimeInBits(std::uint64_t number) {
        std::uint64_t& word = bits_[number >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (number & 63);
        if (word & bit) return false;
        word |= bit;
        return true;
    }
    bool firstTimeInTable(std::uint64_t number);
    std::uint64_t slotOf(std::uint64_t number) const;

    std::vector<std::uint64_t> bits_;
    std::vector<std::uint64_t> table_;  // number + 1, 0 for a free slot
    std::uint64_t mask_ = 0;
};

}  // namespace cli
