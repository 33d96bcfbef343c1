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

TEST(DriveQueries, APlaceThatHungOnceFailsAtOnceAfterwards)
{
    DriveQueries queries("drive");
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> gate = release->get_future().share();
    const std::pair<std::function<int()>, const char*> steps[] = {
        {[gate] { return gate.wait(), 1; }, "The drive did not answer within 2 seconds"},
        {[] { return 2; }, "The drive does not answer"},
    };
    for (const auto& [query, reason] : steps) {
        try {
            queries.ask<int>("X:\\", query);
            ADD_FAILURE() << "answered: " << reason;
        } catch (const VantricError& e) {
            EXPECT_EQ(e.reason(), reason);
            EXPECT_EQ(e.path(), "X:\\");
        }
    }
    EXPECT_EQ(queries.ask<int>("Y:\\", [] { return 3; }), 3);
    release->set_value();
}
