#include "support/child_process.h"
#include "support/x_server.h"

#include <gtest/gtest.h>

using namespace vantric::test;

namespace {

// On a real X server: the title the window manager reads for each wait
// window. Qt alone would put the program's name on the writing window.
TEST(WaitTitle, WindowSystemHoldsTheTitlesExactly)
{
    XServer x;
    ChildResult r = runProgram(VANTRIC_WAIT_TITLE_CHILD, {},
                               {{"DISPLAY", x.display()}, {"XAUTHORITY", x.goodAuth()}, {"QT_QPA_PLATFORM", "xcb"},
                                {"WAYLAND_DISPLAY", std::nullopt}});
    ASSERT_TRUE(r.exited && r.status == 0) << describe(r);
    EXPECT_EQ(r.out, "PleastWait|           |           \n"
                     "PleaseWaitWriting||\n"
                     "PleaseWaitReading| | \n");
}

} // namespace
