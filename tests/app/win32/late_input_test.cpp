// The Windows main window meets input at the read pass's processing point
// as Windows delivers it (posted key and mouse messages, an access key,
// BM_CLICK from another program), and what completes it after the run.

#include "app/frmDrive.h"
#include "app/win32/win32_window_system.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/late_input.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace vantric;

namespace {

struct TestWindows : Win32WindowSystem {
    using Win32WindowSystem::Win32WindowSystem;
    int saves = 0, ends = 0;
    std::function<void()> atDoEvents;
    void doEvents() override
    {
        if (atDoEvents)
            atDoEvents();
        Win32WindowSystem::doEvents();
    }
    void messageBox(const std::string&, const std::string&) override { ++saves; }
    void errorBox(const std::string& text) override { ADD_FAILURE() << text; }
    void endProgram() override { ++ends; }
};

BOOL CALLBACK findMain(HWND h, LPARAM found)
{
    wchar_t cls[32] {};
    ::GetClassNameW(h, cls, 32);
    if (std::wstring(cls) != L"VantricMain")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = h;
    return FALSE;
}

// The control as the window made it: ids count from 100 in layout order.
HWND controlOf(Ctl c)
{
    HWND main = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), findMain, reinterpret_cast<LPARAM>(&main));
    const auto controls = mainWindowControls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].ctl == c)
            return ::GetDlgItem(main, 100 + static_cast<int>(i));
    return nullptr;
}

struct LateInputs : ::testing::TestWithParam<test::LateInputCase> {};

TEST_P(LateInputs, TakeNoEffectAfterTheRun)
{
    const test::LateInputCase& c = GetParam();
    MSG quit; // the last case's window, destroyed, asked the thread to quit
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    test::FakeDriveSource drives;
    drives.folders['C'] = {{"C:\\fake"}};
    test::FakeFileSystem files;
    test::FakeCounter counter;
    struct Noon : Clock {
        LocalDateTime now() override { return {2026, 12, 5, 12, 0, 0}; }
    } clock;
    TestWindows ws(::GetModuleHandleW(nullptr));
    frmDrive form(ws, Services {drives, files, counter, clock, NumericLocale {}, "C:\\prog"});
    form.wire(ws);
    ws.addRow(Ctl::List1, " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB");
    ws.addRow(Ctl::List1, " D:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB");
    ws.setCaption(Ctl::Label9, "1k");
    ws.setVisible(Ctl::Command4, true);
    ws.showMain();
    ws.doEvents();

    HWND target = controlOf(c.target);
    ASSERT_NE(target, nullptr);
    LPARAM at = MAKELPARAM(5, 5);
    if (c.target == Ctl::List1) {
        RECT r {};
        ::SendMessageW(target, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    int points = 0;
    ws.atDoEvents = [&] {
        if (++points != 2)
            return;
        switch (c.input) {
        case test::LateInput::AccessKey:
            ::PostMessageW(::GetParent(target), WM_SYSCHAR,
                           static_cast<WPARAM>(std::tolower(test::accessLetter(ws.caption(c.target)))), 1 << 29);
            break;
        case test::LateInput::Click: ::PostMessageW(target, BM_CLICK, 0, 0); break;
        case test::LateInput::EnterKey:
            ::SetFocus(target);
            ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
            break;
        case test::LateInput::SpaceHeld:
            ::SetFocus(target);
            ::PostMessageW(target, WM_KEYDOWN, VK_SPACE, 1);
            break;
        case test::LateInput::MouseHeld: ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at); break;
        }
    };
    ws.selectRow(Ctl::List1, 0);
    ws.clicked(Ctl::List1);
    ws.atDoEvents = nullptr;
    ASSERT_EQ(points, 2);
    if (c.input == test::LateInput::SpaceHeld)
        ::PostMessageW(target, WM_KEYUP, VK_SPACE, 0xC0000001);
    if (c.input == test::LateInput::MouseHeld)
        ::PostMessageW(target, WM_LBUTTONUP, 0, at);
    ws.doEvents();
    test::expectNoLateEffect(ws, ws.saves, c);
    EXPECT_EQ(ws.ends, 0);
}

INSTANTIATE_TEST_SUITE_P(Win32, LateInputs, ::testing::ValuesIn(test::kLateInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
