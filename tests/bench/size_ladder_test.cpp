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
    for (auto click : {&Command1_Click, &Command3_Click}) {
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
        {"100M", Command1_Click, "1k"},   {"1k", Command3_Click, "100M"}, {"2k", Command3_Click, "1k"},
        {"1k", Command1_Click, "2k"},     {"1000k", Command1_Click, "1M"}, {"1M", Command3_Click, "1000k"},
        {"100k", Command1_Click, "500k"}, {"500k", Command3_Click, "100k"}, {"50M", Command1_Click, "100M"},
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
        Command1_Click(ws);
        EXPECT_EQ(size(), odd);
        Command3_Click(ws);
        EXPECT_EQ(size(), odd);
        std::int32_t n = 777;
        SetTestCount(ws, n);
        EXPECT_EQ(n, 777) << odd;
    }
}

} // namespace
