#include "arithmetic/ExerciseDraw.h"

#include <chrono>

namespace tx {

namespace {

// A value in 0..max, drawn again while it is 0; rejecting whole pairs below keeps
// every allowed pair equally likely.
int drawNonZero(std::mt19937& engine, int max) {
    std::uniform_int_distribution<int> digit(0, max);
    int value = 0;
    while (value == 0) {
        value = digit(engine);
    }
    return value;
}

} // namespace

Exercise drawAddition(std::mt19937& engine) {
    int first = 0;
    int second = 0;
    do {
        first = drawNonZero(engine, 9);
        second = drawNonZero(engine, 9);
    } while (first + second > 10);
    return {Operation::Addition, first, second, first + second};
}

Exercise drawSubtraction(std::mt19937& engine) {
    int first = 0;
    int second = 0;
    do {
        first = drawNonZero(engine, 10);
        second = drawNonZero(engine, 10);
    } while (second >= first);
    return {Operation::Subtraction, first, second, first - second};
}

Exercise drawExercise(Operation operation, std::mt19937& engine) {
    return operation == Operation::Addition ? drawAddition(engine) : drawSubtraction(engine);
}

SeedSource clockSeedSource() {
    return [] {
        const auto ticks = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        // Both halves of the tick count, so that nearby instants give unrelated states.
        std::seed_seq seq{static_cast<std::uint32_t>(ticks),
                          static_cast<std::uint32_t>(ticks >> 32)};
        std::uint32_t seed = 0;
        seq.generate(&seed, &seed + 1);
        return seed;
    };
}

} // namespace tx
