#pragma once

#include "model/RandomSource.h"

#include <random>

namespace kp::fuzz {

// The same draws on every run, however many are taken.
class SeededRandom final : public RandomSource {
public:
    double next01() override { return std::uniform_real_distribution<double>(0, 1)(engine_); }

private:
    std::minstd_rand engine_{12345};
};

} // namespace kp::fuzz
