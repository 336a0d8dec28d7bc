#include "arithmetic/ExerciseDraw.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace tx {
namespace {

using Pair = std::pair<int, int>;
using Counts = std::map<Pair, int>;

constexpr int kPairs = 45; // both kinds allow 45 operand pairs
constexpr int kDrawsPerPair = 2000;
// The chi-square statistic with 44 degrees of freedom exceeds this with probability
// below 1e-9.
constexpr double kChiSquareBound = 130.0;

bool allowed(Operation operation, const Pair& p) {
    const auto [first, second] = p;
    if (operation == Operation::Addition) {
        return first >= 1 && first <= 9 && second >= 1 && second <= 9 && first + second <= 10;
    }
    return first >= 2 && first <= 10 && second >= 1 && second < first;
}

std::vector<Pair> allowedPairs(Operation operation) {
    std::vector<Pair> pairs;
    for (int first = 0; first <= 11; ++first) {
        for (int second = 0; second <= 11; ++second) {
            if (allowed(operation, {first, second})) {
                pairs.emplace_back(first, second);
            }
        }
    }
    return pairs;
}

double chiSquare(const Counts& counts, Operation operation, int draws) {
    const auto pairs = allowedPairs(operation);
    const double expected = static_cast<double>(draws) / static_cast<double>(pairs.size());
    double statistic = 0;
    for (const Pair& p : pairs) {
        const auto it = counts.find(p);
        const double observed = it == counts.end() ? 0.0 : it->second;
        statistic += (observed - expected) * (observed - expected) / expected;
    }
    return statistic;
}

class DrawTest : public ::testing::TestWithParam<Operation> {};

// Each exercise reseeds its own engine from the clock, exactly as the window does.
TEST_P(DrawTest, EveryAllowedPairAppearsEquallyOftenAndNoOther) {
    const Operation operation = GetParam();
    ASSERT_EQ(allowedPairs(operation).size(), static_cast<size_t>(kPairs));
    const SeedSource seed = clockSeedSource();
    const int draws = kPairs * kDrawsPerPair;
    Counts counts;
    for (int i = 0; i < draws; ++i) {
        std::mt19937 engine(seed());
        const Exercise e = drawExercise(operation, engine);
        ASSERT_EQ(e.operation, operation);
        ASSERT_TRUE(allowed(operation, {e.first, e.second})) << e.first << ", " << e.second;
        ASSERT_EQ(e.result,
                  operation == Operation::Addition ? e.first + e.second : e.first - e.second);
        ++counts[{e.first, e.second}];
    }
    EXPECT_EQ(counts.size(), static_cast<size_t>(kPairs));
    EXPECT_LT(chiSquare(counts, operation, draws), kChiSquareBound);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DrawTest,
                         ::testing::Values(Operation::Addition, Operation::Subtraction));

// The bound has power: drawing the second operand within what the first leaves over
// covers every allowed pair, but unevenly, and is rejected.
TEST(DrawBound, RejectsADrawThatCoversAllPairsUnevenly) {
    std::mt19937 engine(7);
    const int draws = kPairs * kDrawsPerPair;
    Counts counts;
    for (int i = 0; i < draws; ++i) {
        const int first = std::uniform_int_distribution<int>(1, 9)(engine);
        const int second = std::uniform_int_distribution<int>(1, 10 - first)(engine);
        ++counts[{first, second}];
    }
    ASSERT_EQ(counts.size(), static_cast<size_t>(kPairs));
    EXPECT_GT(chiSquare(counts, Operation::Addition, draws), kChiSquareBound);
}

} // namespace
} // namespace tx
