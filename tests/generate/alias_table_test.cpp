#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "generate/alias_table.h"
#include "generate/fast_random.h"
#include "platform/failure.h"

namespace {

using generate::AliasTable;
using generate::FastRandom;

// The published outputs of splitmix64 for the seed 1234567: the same numbers
// on every machine.
TEST(FastRandom, GivesTheReferenceSequence) {
    FastRandom random(1234567);
    for (std::uint64_t expected :
         {6457827717110365317ULL, 3203168211198807973ULL, 9817491932198370423ULL,
          4593380528125082431ULL, 16408922859458223821ULL})
        EXPECT_EQ(random.next(), expected);
}

TEST(FastRandom, MultiplyShiftSpansTheRange) {
    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(generate::multiplyShift(0, 7), 0u);
    EXPECT_EQ(generate::multiplyShift(max, 7), 6u);
    EXPECT_EQ(generate::multiplyShift(max / 2 + 1, 10), 5u);  // one half of the range
    EXPECT_EQ(generate::multiplyShift(max, 1), 0u);
}

// Pearson's statistic of the counts against the weights (zero weights left out).
double chiSquare(const std::vector<std::uint64_t>& counts, const std::vector<double>& weights) {
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    const double draws = static_cast<double>(std::accumulate(counts.begin(), counts.end(), 0ULL));
    double statistic = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] == 0) continue;
        const double expected = draws * weights[i] / total;
        statistic += (counts[i] - expected) * (counts[i] - expected) / expected;
    }
    return statistic;
}

std::vector<std::uint64_t> countDraws(const AliasTable& table, std::uint64_t seed, int draws) {
    std::vector<std::uint64_t> counts(table.size(), 0);
    FastRandom random(seed);
    for (int i = 0; i < draws; ++i) ++counts.at(table.draw(random));
    return counts;
}

struct Weights {
    std::vector<double> weights;
    double critical;  // chi-square at p = 0.001 for the non-zero weights less one
};

class AliasTableIsExact : public ::testing::TestWithParam<Weights> {};

TEST_P(AliasTableIsExact, ReproducesEveryWeight) {
    const Weights& w = GetParam();
    const AliasTable table(w.weights);
    const std::vector<std::uint64_t> counts = countDraws(table, 20240601, 1'000'000);
    for (std::size_t i = 0; i < w.weights.size(); ++i)
        if (w.weights[i] == 0) {
            EXPECT_EQ(counts[i], 0u) << "entry " << i << " has weight zero";
        }
    EXPECT_LT(chiSquare(counts, w.weights), w.critical);
}

INSTANTIATE_TEST_SUITE_P(
    SmallLists, AliasTableIsExact,
    ::testing::Values(Weights{{1, 2, 3, 4, 10}, 18.467}, Weights{{1, 1, 1, 1}, 16.266},
                      Weights{{0, 5, 0, 1, 0}, 10.828}, Weights{{0.1, 1, 1e3}, 13.816},
                      Weights{{7}, std::numeric_limits<double>::infinity()},
                      Weights{{3.5, 0.25, 9, 0.25, 1, 6, 2, 0, 4, 11}, 27.877}));

// The test sees a weight off by a tenth: the counts of 1, 2, 3, 4, 10 fail
// against 1.1, 2, 3, 4, 10.
TEST(AliasTable, ChiSquareSeesASmallError) {
    const std::vector<double> weights{1, 2, 3, 4, 10};
    const std::vector<std::uint64_t> counts = countDraws(AliasTable(weights), 20240601, 1'000'000);
    EXPECT_GT(chiSquare(counts, {1.1, 2, 3, 4, 10}), 18.467);
}

TEST(AliasTable, RefusesWeightsItCannotDraw) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const std::vector<double>& weights :
         std::vector<std::vector<double>>{{}, {0}, {0, 0, 0}, {1, -1}, {1, inf}, {nan, 1}}) {
        EXPECT_THROW(AliasTable{weights}, platform::Failure) << weights.size() << " weights";
    }
}

TEST(AliasTable, TakesTheWholeRangeOfDoubles) {
    const double big = std::numeric_limits<double>::max();
    const std::vector<std::uint64_t> counts = countDraws(AliasTable({big, big}), 5, 100'000);
    EXPECT_NEAR(static_cast<double>(counts[0]) / 100'000, 0.5, 0.01);
}

}  // namespace
