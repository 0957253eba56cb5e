#pragma once

#include <cstdint>

namespace generate {

// 128-bit product support of GCC and Clang; __extension__ keeps -Wpedantic quiet.
__extension__ using Uint128 = unsigned __int128;

// The draw engine's generator: splitmix64, a 64-bit state advanced by a fixed
// odd constant and mixed into each output. Only integer arithmetic, so a seed
// gives the same numbers on every machine, compiler and locale.
class FastRandom {
public:
    using result_type = std::uint64_t;

    explicit FastRandom(std::uint64_t seed = 0) : state_(seed) {}
    void seed(std::uint64_t value) { state_ = value; }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // A whole number in [0, n): the high half of next() x n.
    std::uint64_t below(std::uint64_t n);

    // A uniform random bit generator, for the standard library's distributions.
    std::uint64_t operator()() { return next(); }
    static constexpr std::uint64_t min() { return 0; }
    static constexpr std::uint64_t max() { return ~std::uint64_t{0}; }

private:
    std::uint64_t state_;
};

// An index in [0, n) from one 64-bit random number r: the high half of the
// 128-bit product r * n (multiply-shift range reduction, no division). Each
// index is hit by floor(2^64 / n) or ceil(2^64 / n) of the 2^64 values of r,
// so its probability is off from 1/n by less than one part in 2^64 / n; for
// any list that fits in memory that is below 2^-30 relative, far under what a
// run of draws can show. n = 0 gives 0.
inline std::uint64_t multiplyShift(std::uint64_t r, std::uint64_t n) {
    return static_cast<std::uint64_t>((static_cast<Uint128>(r) * n) >> 64);
}

inline std::uint64_t FastRandom::below(std::uint64_t n) {
    return multiplyShift(next(), n);
}

inline std::uint64_t uniformBelow(FastRandom& random, std::uint64_t n) {
    return random.below(n);
}

}  // namespace generate
