#include "platform/io/bounded_call.h"

#include <gtest/gtest.h>

#include <future>

using namespace vantric;
using namespace std::chrono_literals;

TEST(BoundedCall, AnswerInTimeIsReturned)
{
    EXPECT_EQ(callWithin<int>(2s, [] { return 42; }), 42);
}

TEST(BoundedCall, HungQueryIsGivenUpAndLeftBehind)
{
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> gate = release->get_future().share();
    auto got = callWithin<int>(50ms, [gate] {
        gate.wait(); // stands for a statvfs on a dead mount
        return 1;
    });
    EXPECT_FALSE(got.has_value());
    release->set_value(); // let the helper finish before the test ends
}
