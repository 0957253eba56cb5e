#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "generate/fast_random.h"
#include "generate/name_pool.h"
#include "platform/failure.h"

namespace {

using generate::FastRandom;
using generate::NamePool;

std::vector<std::string> namesOf(const NamePool& pool) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < pool.size(); ++i) names.emplace_back(pool.at(i));
    return names;
}

std::map<std::string_view, int> drawMany(const NamePool& pool, int draws) {
    std::map<std::string_view, int> counts;
    FastRandom random(77);
    for (int i = 0; i < draws; ++i) ++counts[pool.draw(random)];
    return counts;
}

TEST(NamePool, HoldsNamesInTheirOwnScript) {
    const std::vector<std::string> names{"Ána", "Иван", "", "山田", "Zoë"};
    const NamePool pool(names);
    EXPECT_EQ(namesOf(pool), names);
    EXPECT_FALSE(pool.isWeighted());
    EXPECT_TRUE(NamePool().empty());
}

TEST(NamePool, UniformDrawReachesEveryNameEvenly) {
    const std::vector<std::string_view> names{"a", "b", "c", "d"};
    const std::map<std::string_view, int> counts = drawMany(NamePool(names), 40'000);
    ASSERT_EQ(counts.size(), names.size());
    for (const auto& [name, count] : counts) EXPECT_NEAR(count, 10'000, 500) << name;
}

TEST(NamePool, WeightedDrawFollowsTheWeights) {
    const std::vector<std::string_view> names{"Mary", "Rare", "Never"};
    const NamePool pool(names, std::vector<double>{9, 1, 0});
    EXPECT_TRUE(pool.isWeighted());
    const std::map<std::string_view, int> counts = drawMany(pool, 100'000);
    EXPECT_NEAR(counts.at("Mary"), 90'000, 1'000);
    EXPECT_FALSE(counts.contains("Never"));
    EXPECT_EQ(pool.at(2), "Never");
}

// Every weight is reproduced within sampling error (a chi-square test).
TEST(NamePool, AWeightedDrawKeepsEveryWeight) {
    const std::uint32_t n = 500;
    std::vector<std::string> names;
    std::vector<double> weights;
    for (std::uint32_t i = 0; i < n; ++i) {
        names.push_back(std::to_string(i));
        weights.push_back(i % 97 == 0 ? 0.0 : 1.0 + (i * 7919) % 13);  // weights 0 and 1..13
    }
    const NamePool pool(names, weights);
    double total = 0;
    for (double w : weights) total += w;
    std::vector<int> counts(n, 0);
    const int draws = 2'000'000;
    FastRandom random(5);
    for (int d = 0; d < draws; ++d) {
        const std::uint64_t r = random.next();
        const std::uint32_t i = pool.drawIndex(r);
        ++counts[i];
        if (d < 10'000) {
            ASSERT_EQ(pool.draw(r), pool.at(i));
        }
    }
    double chiSquare = 0;
    int cells = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (weights[i] == 0) {
            EXPECT_EQ(counts[i], 0) << names[i];
            continue;
        }
        const double expected = draws * weights[i] / total;
        chiSquare += (counts[i] - expected) * (counts[i] - expected) / expected;
        ++cells;
    }
    // The statistic has cells - 1 degrees of freedom, its deviation about
    // sqrt(2 * cells): six deviations above is beyond chance.
    EXPECT_LT(chiSquare, cells + 6 * std::sqrt(2.0 * cells));
}

TEST(NamePool, RefusesWeightsThatDoNotMatchTheNames) {
    const std::vector<std::string_view> names{"a", "b"};
    EXPECT_THROW(NamePool(names, std::vector<double>{1}), platform::Failure);
    EXPECT_THROW(NamePool(names, std::vector<double>{0, 0}), platform::Failure);
}

struct Covering {
    std::vector<double> weights;  // of the names a, b, c, d, e
    double share;
    std::vector<std::string> kept;
};

class CommonNames : public ::testing::TestWithParam<Covering> {};

TEST_P(CommonNames, CoverTheShareWithTheFewestNames) {
    const Covering& c = GetParam();
    const std::vector<std::string_view> names{"a", "b", "c", "d", "e"};
    const NamePool pool = generate::commonNamesCovering(names, c.weights, c.share);
    EXPECT_FALSE(pool.isWeighted());
    EXPECT_EQ(namesOf(pool), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Shares, CommonNames,
    ::testing::Values(Covering{{50, 30, 10, 6, 4}, 0.9, {"a", "b", "c"}},  // exactly 90
                      Covering{{50, 30, 9, 7, 4}, 0.9, {"a", "b", "c", "d"}},
                      Covering{{4, 6, 30, 10, 50}, 0.9, {"c", "d", "e"}},  // list order kept
                      Covering{{95, 1, 1, 1, 2}, 0.9, {"a"}},
                      Covering{{1, 1, 1, 1, 0}, 1.0, {"a", "b", "c", "d"}},  // zero never kept
                      Covering{{2, 2, 2, 2, 2}, 0.5, {"a", "b", "c"}}));     // ties in list order

TEST(CommonNames, RefuseAShareOutsideZeroToOne) {
    const std::vector<std::string_view> names{"a"};
    const std::vector<double> weights{1};
    for (double share : {0.0, -0.5, 1.5})
        EXPECT_THROW(generate::commonNamesCovering(names, weights, share), platform::Failure)
            << share;
}

}  // namespace
