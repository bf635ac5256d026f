#include "tools/OrderedWork.h"

#include <atomic>
#include <gtest/gtest.h>

using kp::tools::OrderedWork;

namespace {

struct Row {
    const char* name;
    size_t count;
    size_t ahead;
    size_t taken; // the rest is left when the work is destroyed
};

class OrderedWorkRows : public testing::TestWithParam<Row> {};

} // namespace

// Items come in order, each made once, never further ahead of the last one taken than allowed,
// and the threads stop when the work is destroyed with items not taken.
TEST_P(OrderedWorkRows, HandsItemsOverInOrderWithinTheBound) {
    const Row row = GetParam();
    std::atomic<size_t> furthest{0};
    std::atomic<int> made{0};
    {
        OrderedWork<size_t> work(row.count, row.ahead, [&](size_t i) {
            size_t seen = furthest;
            while (i + 1 > seen && !furthest.compare_exchange_weak(seen, i + 1)) {
            }
            ++made;
            return i * i;
        });
        for (size_t i = 0; i < row.taken; ++i) {
            EXPECT_EQ(work.take(i), i * i);
            // Made so far: the items taken and at most `ahead` more (the bound moves on the
            // take that just returned).
            EXPECT_LE(furthest.load(), i + 1 + row.ahead);
        }
    }
    EXPECT_LE(static_cast<size_t>(made.load()), std::min(row.count, row.taken + row.ahead));
}

INSTANTIATE_TEST_SUITE_P(
    OrderedWork, OrderedWorkRows,
    testing::Values(Row{"nothing", 0, 1, 0}, Row{"one", 1, 1, 1}, Row{"one_at_a_time", 50, 1, 50},
                    Row{"far_ahead", 200, 64, 200}, Row{"left_half_way", 100, 4, 30}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });
