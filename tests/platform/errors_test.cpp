#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantric;

TEST(CheckedArithmetic, RaisesInsteadOfWrappingOrInfinity)
{
    const auto max = std::numeric_limits<std::int64_t>::max();
    const auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(checkedAdd(max - 1, 1), max);
    EXPECT_THROW(checkedAdd(max, 1), VantricError);
    EXPECT_THROW(checkedSub(min, 1), VantricError);
    EXPECT_EQ(checkedSub(min + 1, 1), min);
    EXPECT_THROW(checkedNext(std::numeric_limits<std::int32_t>::max()), VantricError);
    EXPECT_DOUBLE_EQ(checkedDiv(1.0, 4.0), 0.25);
    EXPECT_DOUBLE_EQ(checkedDiv(0.0, 5.0), 0.0);
    EXPECT_THROW(checkedMul(1e308, 10.0), VantricError);
}

TEST(CheckedArithmetic, NamesTheKindOfDivisionFault)
{
    auto reasonOf = [](double a, double b) {
        try {
            checkedDiv(a, b);
        } catch (const VantricError& e) {
            return e.reason();
        }
        return std::string("no error");
    };
    EXPECT_EQ(reasonOf(0.0, 0.0), "Invalid floating-point operation");
    EXPECT_EQ(reasonOf(3.0, 0.0), "Division by zero");
    EXPECT_EQ(reasonOf(-3.0, 0.0), "Division by zero");
    EXPECT_EQ(reasonOf(1e308, 1e-10), "Floating-point overflow");
}
