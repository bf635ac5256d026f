#pragma once

#include <gtest/gtest.h>
#include <string>

namespace kp::test {

// Names the rows of a value-parameterised table after their `name` field, so that each row is
// reported, and can be run, on its own: INSTANTIATE_TEST_SUITE_P(S, T, ValuesIn(rows), RowName()).
struct RowName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

} // namespace kp::test
