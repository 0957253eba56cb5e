#pragma once

#include <cstdint>
#include <random>

namespace generate {

// The one generator of uniform numbers in [0, 1) for the whole run. Seeded once
// at start-up from the time of day; generation draws from it. The engine and
// the conversion below are exact, so a seed gives the same numbers on every
// machine.
class RandomGenerator {
public:
    RandomGenerator() = default;
    explicit RandomGenerator(std::uint64_t seed) : engine_(seed) {}

    void seed(std::uint64_t value) { engine_.seed(value); }
    // Seconds since midnight with the fraction the clock gives, as the seed.
    void seedFromTimeOfDay();

    // Next number in [0, 1) with 24 bits of resolution (single precision).
    float next() { return static_cast<float>(engine_() >> 40) * (1.0f / 16777216.0f); }

private:
    std::mt19937_64 engine_{0};
};

// 64 bits from three of the generator's numbers, to seed the draw engine's
// generator with: a seeded generator seeds it the same way every time.
inline std::uint64_t drawSeed(RandomGenerator& random) {
    std::uint64_t seed = 0;
    for (int i = 0; i < 3; ++i)
        seed = (seed << 24) ^ static_cast<std::uint64_t>(random.next() * 16777216.0f);
    return seed;
}

// A whole number from 1 to n: the whole part of (r x n) plus 1, with r the
// generator's next number and the product formed in double precision.
// For n = 0 it gives 1.
inline std::int32_t RandomIndex(RandomGenerator& random, std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<double>(random.next()) * n) + 1;
}

}  // namespace generate
