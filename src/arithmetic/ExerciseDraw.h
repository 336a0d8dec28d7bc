#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace tx {

enum class Operation { Addition, Subtraction };

struct Exercise {
    Operation operation = Operation::Addition;
    int first = 0;
    int second = 0;
    int result = 0;
};

// Operands 1..9 with a sum of at most 10, every such pair equally likely.
Exercise drawAddition(std::mt19937& engine);
// First operand 2..10, second 1..first-1, every such pair equally likely.
Exercise drawSubtraction(std::mt19937& engine);
Exercise drawExercise(Operation operation, std::mt19937& engine);

// Gives the seed of the engine that draws one exercise.
using SeedSource = std::function<std::uint32_t()>;
// Seeds from the high-resolution clock.
SeedSource clockSeedSource();

} // namespace tx
