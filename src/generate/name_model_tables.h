#pragma once

// Small building blocks of the name model: a fixed random generator, a fixed
// hash of text, and open-addressing tables keyed by 64-bit numbers. Each is
// written out here so that a seed gives the same invented names with every
// compiler and standard library.

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "generate/fast_random.h"

namespace generate {

// The model's generator is the draw engine's: splitmix64.
using SplitMix64 = FastRandom;

// The final mix of splitmix64, used to spread keys over a table.
inline std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A 64-bit hash of some bytes, eight at a time (read as little-endian words,
// the same on every machine), each word mixed into the hash with mix64.
inline std::uint64_t hashBytes(std::string_view bytes) {
    std::uint64_t hash = 0x243F6A8885A308D3ull ^ bytes.size();
    std::uint64_t word = 0;
    int filled = 0;
    for (const char c : bytes) {
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * filled);
        if (++filled == 8) {
            hash = mix64(hash ^ word);
            word = 0;
            filled = 0;
        }
    }
    return mix64(hash ^ word);
}

// The set bits of x, without the processor's instruction (not assumed).
inline int bitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// log2(x) for x > 0 in 1/1024 of a bit, rounded down: the whole part from
// the highest set bit, the fraction by repeated squaring. Integer arithmetic
// only, so the result is the same on every machine.
inline std::uint32_t log2Fixed(std::uint64_t x) {
    const int whole = static_cast<int>(std::bit_width(x)) - 1;
    // x as a number in [1, 2) with 62 fraction bits
    std::uint64_t y = whole >= 62 ? x >> (whole - 62) : x << (62 - whole);
    std::uint32_t fraction = 0;
    for (int i = 0; i < 10; ++i) {
        y = static_cast<std::uint64_t>((static_cast<unsigned __int128>(y) * y) >> 62);
        fraction <<= 1;
        if (y >= (1ull << 63)) {
            y >>= 1;
            fraction |= 1;
        }
    }
    return static_cast<std::uint32_t>(whole) * 1024 + fraction;
}

// A set of non-zero 64-bit keys (a key of 0 is stored as 1). It holds hashes of
// case-folded names: two names with the same hash count as one, which can only
// turn away a name that would have been allowed, never let a wrong one through.
class FlatKeySet {
public:
    // Adds the key; false when it was there already.
    bool insert(std::uint64_t key) {
        if ((size_ + 1) * 2 > slots_.size()) grow();
        if (!insertInto(slots_, nonZero(key))) return false;
        ++size_;
        return true;
    }

    bool contains(std::uint64_t key) const {
        if (slots_.empty()) return false;
        key = nonZero(key);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = mix64(key) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == key) return true;
            if (slots_[i] == 0) return false;
        }
    }

    std::size_t size() const { return size_; }

private:
    static std::uint64_t nonZero(std::uint64_t key) { return key == 0 ? 1 : key; }

    static bool insertInto(std::vector<std::uint64_t>& table, std::uint64_t key) {
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = mix64(key) & mask;; i = (i + 1) & mask) {
            if (table[i] == key) return false;
            if (table[i] == 0) {
                table[i] = key;
                return true;
            }
        }
    }

    void grow() {
        std::vector<std::uint64_t> bigger(slots_.empty() ? 64 : slots_.size() * 2, 0);
        for (const std::uint64_t key : slots_)
            if (key != 0) insertInto(bigger, key);
        slots_.swap(bigger);
    }

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
};

// A map from non-zero 64-bit keys to 32-bit values, filled once, then read.
class FlatKeyMap {
public:
    static constexpr std::uint32_t kMissing = 0xFFFFFFFFu;

    // Value of the key, inserting `value` when the key is new.
    std::uint32_t& at(std::uint64_t key, std::uint32_t value) {
        if ((size_ + 1) * 2 > slots_.size()) grow();
        Slot& slot = find(slots_, key);
        if (slot.key == 0) {
            slot = Slot{key, value};
            ++size_;
        }
        return slot.value;
    }

    std::uint32_t get(std::uint64_t key) const {
        if (slots_.empty()) return kMissing;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = mix64(key) & mask;; i = (i + 1) & mask) {
            if (slots_[i].key == key) return slots_[i].value;
            if (slots_[i].key == 0) return kMissing;
        }
    }

    std::size_t size() const { return size_; }

    template <typename Visit>
    void forEach(Visit visit) const {
        for (const Slot& slot : slots_)
            if (slot.key != 0) visit(slot.key, slot.value);
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t value = 0;
    };

    static Slot& find(std::vector<Slot>& table, std::uint64_t key) {
        const std::size_t mask = table.size() - 1;
        std::size_t i = mix64(key) & mask;
        while (table[i].key != 0 && table[i].key != key) i = (i + 1) & mask;
        return table[i];
    }

    void grow() {
        std::vector<Slot> bigger(slots_.empty() ? 64 : slots_.size() * 2);
        for (const Slot& slot : slots_)
            if (slot.key != 0) find(bigger, slot.key) = slot;
        slots_.swap(bigger);
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace generate
