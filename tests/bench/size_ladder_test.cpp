#include "bench/size_ladder.h"
#include "fakes/memory_window_system.h"

#include <gtest/gtest.h>

#include <set>

using namespace vantric;

namespace {

struct Ladder : ::testing::Test {
    test::MemoryWindowSystem ws;
    std::string size() { return ws.caption(Ctl::Label9); }
    void set(const std::string& s) { ws.setCaption(Ctl::Label9, s); }
};

TEST_F(Ladder, SixteenClicksEitherWayVisitEveryRungOnce)
{
    for (auto click : {&stepSizeUp, &stepSizeDown}) {
        set("1M");
        std::set<std::string> seen;
        for (int i = 0; i < 16; ++i) {
            click(ws);
            seen.insert(size());
        }
        EXPECT_EQ(seen.size(), 16u);
        EXPECT_EQ(size(), "1M");
    }
}

TEST_F(Ladder, StepsAcrossTheNamedBoundaries)
{
    struct Case {
        const char* from;
        void (*click)(WindowSystem&);
        const char* to;
    } cases[] = {
        {"100M", stepSizeUp, "1k"},   {"1k", stepSizeDown, "100M"}, {"2k", stepSizeDown, "1k"},
        {"1k", stepSizeUp, "2k"},     {"1000k", stepSizeUp, "1M"}, {"1M", stepSizeDown, "1000k"},
        {"100k", stepSizeUp, "500k"}, {"500k", stepSizeDown, "100k"}, {"50M", stepSizeUp, "100M"},
    };
    for (const auto& c : cases) {
        set(c.from);
        c.click(ws);
        EXPECT_EQ(size(), c.to) << c.from;
    }
}

TEST_F(Ladder, EveryCaptionGivesItsCount)
{
    const std::pair<const char*, std::int32_t> table[] = {
        {"1k", 512},          {"2k", 1024},         {"5k", 2560},         {"10k", 5120},
        {"25k", 12800},       {"50k", 25600},       {"100k", 51200},      {"500k", 256000},
        {"1000k", 512000},    {"1M", 524288},       {"2M", 1048576},      {"5M", 2621440},
        {"10M", 5242880},     {"25M", 13107200},    {"50M", 26214400},    {"100M", 52428800},
    };
    for (const auto& [caption, count] : table) {
        set(caption);
        std::int32_t n = -1;
        SetTestCount(ws, n);
        EXPECT_EQ(n, count) << caption;
    }
}

TEST_F(Ladder, CaptionOffTheLadderChangesNothing)
{
    for (const char* odd : {"1m", "1K", "100m", "250k", "", " 1M", "1M "}) {
        set(odd);
        stepSizeUp(ws);
        EXPECT_EQ(size(), odd);
        stepSizeDown(ws);
        EXPECT_EQ(size(), odd);
        std::int32_t n = 777;
        SetTestCount(ws, n);
        EXPECT_EQ(n, 777) << odd;
    }
}

} // namespace
