#pragma once

#include <QRandomGenerator>

namespace kp {

// Uniform numbers in [0, 1), passed in so tests can fix the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next01() = 0;
    // A whole number from 1 to n with equal chances: the integer part of n * r + 1.
    int pick(int n) {
        const int k = static_cast<int>(static_cast<double>(n) * next01() + 1.0);
        return k > n ? n : k;
    }
};

// Seeded from the system's entropy source.
class SystemRandom final : public RandomSource {
public:
    double next01() override { return QRandomGenerator::global()->generateDouble(); }
};

} // namespace kp
