// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The Windows main window under Wine, driven with real messages through its own message loop.

#include "app/frmDrive.h"
#include "app/win32/win32_window_system.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/drive_key_cases.h"
#include "fakes/fixed_clock.h"
#include "support/late_input.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace vantric;

namespace {

const char* const kRows[] = {" C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB",
                             " D:- RAM Disc  Free Space: 1.00 MB  Total Size: 1.00 MB"};

// The real window system, but message boxes are only counted and the program does not end.
struct TestWindows : Win32WindowSystem {
    using Win32WindowSystem::Win32WindowSystem;
    int saves = 0;
    std::function<void()> atDoEvents;
    void doEvents() override
    {
        if (atDoEvents)
            atDoEvents();
        Win32WindowSystem::doEvents();
    }
    void messageBox(const std::string&, const std::string&) override { ++saves; }
    void errorBox(const std::string& text) override { ADD_FAILURE() << text; }
    void endProgram() override {}
};

// The window wired as the program wires it, on fake drives and files.
struct Win32Window : ::testing::Test {
    test::FakeDriveSource drives;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    test::FixedClock clock;
    TestWindows ws {::GetModuleHandleW(nullptr)};
    frmDrive form {ws, Services {drives, files, counter, clock, systemStopHooks(), NumericLocale {}, "C:\\prog"}};

    Win32Window()
    {
        MSG quit; // the last test's window, destroyed, asked the thread to quit
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        drives.folders['C'] = {{"C:\\fake"}};
        form.wire(ws);
        for (const char* row : kRows)
            ws.addRow(Ctl::List1, row);
        ws.setCaption(Ctl::Label9, "1k");
        ws.showMain();
        ws.doEvents();
    }
};

TEST_F(Win32Window, KeysChooseTheDriveTheyName)
{
    std::vector<std::string> ran; // the row each choice of List1 ran
    ws.onList1Click = [&] { ran.push_back(ws.selectedRow(Ctl::List1)); };
    HWND list = ws.control(Ctl::List1);
    ::SetFocus(list);
    for (const auto& c : test::kDriveKeyCases) {
        const std::size_t before = ran.size();
        // A key as the keyboard sends it; the loop makes the character of it.
        const auto vk = static_cast<WPARAM>(::VkKeyScanA(c.typed) & 0xff);
        ::PostMessageW(list, WM_KEYDOWN, vk, 1);
        ::PostMessageW(list, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
        ws.doEvents();
        ASSERT_EQ(ran.size(), before + (c.runs != 0)) << "typed '" << c.typed << "'";
        if (c.runs) {
            EXPECT_EQ(ran.back()[1], c.runs) << "typed '" << c.typed << "'";
        }
    }
}

// Space and Enter on the focused button click it once, whatever the dialog manager makes of them.
TEST_F(Win32Window, SpaceAndEnterClickTheFocusedButton)
{
    std::vector<Ctl> ran;
    const std::pair<Ctl, std::function<void()> FormEvents::*> buttons[] = {
        {Ctl::Command1, &FormEvents::onCommand1}, {Ctl::Command2, &FormEvents::onCommand2},
        {Ctl::Command3, &FormEvents::onCommand3}, {Ctl::Command4, &FormEvents::onCommand4}};
    ws.setVisible(Ctl::Command4, true);
    for (auto [ctl, on] : buttons)
        ws.*on = [&ran, ctl = ctl] { ran.push_back(ctl); };
    for (auto [ctl, on] : buttons)
        for (WPARAM key : {VK_SPACE, VK_RETURN}) {
            SCOPED_TRACE(std::string(controlLayout(ctl).name) + (key == VK_SPACE ? " Space" : " Enter"));
            ran.clear();
            ::SetFocus(ws.control(ctl));
            ::PostMessageW(ws.control(ctl), WM_KEYDOWN, key, 1);
            ::PostMessageW(ws.control(ctl), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
            ws.doEvents();
            EXPECT_EQ(ran, std::vector<Ctl> {ctl});
        }
}

// What Active Accessibility answers for a window's client area: name, description and role.
struct Asked {
    std::wstring name, description;
    long role = 0;
};
Asked asked(HWND h)
{
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&acc))))
        return {L"<no object>"};
    VARIANT self, role;
    ::VariantInit(&self);
    ::VariantInit(&role);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Asked a;
    for (auto [get, to] : {std::pair {&IAccessible::get_accName, &a.name}, {&IAccessible::get_accDescription, &a.description}}) {
        BSTR text = nullptr;
        if (SUCCEEDED((acc->*get)(self, &text)) && text)
            *to = text;
        ::SysFreeString(text);
    }
    a.role = SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : 0;
    acc->Release();
    return a;
}

// The window answers with names of its own over the system's object, so window texts stay; Wine 8 has no
// Dynamic Annotation. The names are those the Qt window gives.
TEST_F(Win32Window, ScreenReadersAskThroughActiveAccessibility)
{
    ws.setCaption(Ctl::Label1, "1240.102432");
    struct Case {
        Ctl ctl;
        const wchar_t* name;
        const wchar_t* text;
        bool described = false;
    } cases[] = {
        {Ctl::Command3, L"One size smaller", L"", true}, {Ctl::Command1, L"One size larger", L"", true},
        {Ctl::List1, L"Drives", L"", true}, {Ctl::List2, L"Results log", L"", true},
        {Ctl::Label9, L"Test size: 1k", L"1k", true}, {Ctl::Label1, L"Write rate, MB/s: 1240.102432", L"1240.102432"},
        {Ctl::Label3, L"Write time", L""}, {Ctl::Label4, L"Read rate, MB/s", L""}, {Ctl::Label5, L"Read time", L""},
        {Ctl::Command2, L"Exit", L"&Exit"}, {Ctl::Label6, L"Write [MB/s]", L"Write [MB/s]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(controlLayout(c.ctl).name);
        wchar_t text[64] = L"";
        ::GetWindowTextW(ws.control(c.ctl), text, 64);
        EXPECT_STREQ(text, c.text);
        const Asked a = asked(ws.control(c.ctl));
        EXPECT_EQ(a.name, c.name);
        EXPECT_EQ(!a.description.empty(), c.described);
        EXPECT_NE(a.role, 0); // the rest is the system's
    }
    ws.loadWait(WaitKind::PleaseWaitWriting);
    const Asked wait = asked(ws.waitWindow(WaitKind::PleaseWaitWriting));
    EXPECT_EQ(wait.name, L"Please Wait Writing To Disk");
    EXPECT_EQ(wait.role, ROLE_SYSTEM_ALERT);
    ws.unloadWait(WaitKind::PleaseWaitWriting);
}

struct LateInputs : Win32Window, ::testing::WithParamInterface<test::LateInputCase> {};

// Posted keys, mouse messages, access keys or BM_CLICK at the read pass's processing point.
TEST_P(LateInputs, TakeNoEffectAfterTheRun)
{
    const test::LateInputCase& c = GetParam();
    ws.setVisible(Ctl::Command4, true);
    HWND target = ws.control(c.target);
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
        case test::LateInput::SpaceHeld:
            ::SetFocus(target);
            ::PostMessageW(target, WM_KEYDOWN, c.input == test::LateInput::EnterKey ? VK_RETURN : VK_SPACE, 1);
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
}

INSTANTIATE_TEST_SUITE_P(Win32, LateInputs, ::testing::ValuesIn(test::kLateInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
