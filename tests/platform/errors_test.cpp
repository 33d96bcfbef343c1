#include "platform/errors.h"
#include "support/error_reason.h"

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
    struct Case {
        double a, b;
        const char* reason;
    } cases[] = {{0.0, 0.0, "Invalid floating-point operation"}, {3.0, 0.0, "Division by zero"},
                 {-3.0, 0.0, "Division by zero"}, {1e308, 1e-10, "Floating-point overflow"}};
    for (const auto& c : cases)
        EXPECT_EQ(test::reasonOf([&] { checkedDiv(c.a, c.b); }), c.reason) << c.a << " / " << c.b;
}
