#include "platform/number_format.h"

#include <gtest/gtest.h>

using namespace vantric;

TEST(NumberFormat, GroupsAndRoundsInTheLocale)
{
    NumericLocale en;
    NumericLocale de {",", "."};
    struct Case {
        double v;
        int decimals;
        bool group, lead;
        const NumericLocale* loc;
        const char* want;
    } cases[] = {
        {1024.0, 0, true, true, &en, "1,024"},
        {1023.6, 0, true, true, &en, "1,024"},
        {999.0, 0, true, true, &en, "999"},
        {1234567.891, 2, true, true, &en, "1,234,567.89"},
        {1234567.891, 2, true, true, &de, "1.234.567,89"},
        {0.0, 2, true, true, &en, "0.00"},
        {123456.0, 0, true, true, &en, "123,456"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.v, c.decimals, c.group, c.lead, *c.loc), c.want) << c.v;
}
