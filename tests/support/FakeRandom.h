#pragma once

#include "model/RandomSource.h"

#include <deque>

namespace kp::test {

// Returns the queued values in order, then repeats the last one (0 when none was queued).
class FakeRandom final : public RandomSource {
public:
    FakeRandom() = default;
    FakeRandom(std::initializer_list<double> values) : queue_(values) {}
    void push(double v) { queue_.push_back(v); }
    double next01() override {
        ++draws_;
        if (queue_.empty())
            return last_;
        last_ = queue_.front();
        queue_.pop_front();
        return last_;
    }
    int draws() const { return draws_; }

private:
    std::deque<double> queue_;
    double last_ = 0;
    int draws_ = 0;
};

} // namespace kp::test
