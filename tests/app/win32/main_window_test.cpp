// The Windows main window under Wine, driven with real messages through its
// own message loop, and asked what a screen reader would ask.

#include "app/win32/win32_window_system.h"
#include "support/drive_key_cases.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantric;

namespace {

struct Win32Window : ::testing::Test {
    Win32WindowSystem ws {::GetModuleHandleW(nullptr)};
    std::vector<std::string> ran; // the row each choice of List1 ran

    Win32Window()
    {
        ws.onList1Click = [this] { ran.push_back(ws.selectedRow(Ctl::List1)); };
        ws.addRow(Ctl::List1, " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB");
        ws.addRow(Ctl::List1, " D:- RAM Disc  Free Space: 1.00 MB  Total Size: 1.00 MB");
        ws.showMain();
        ::SetFocus(ws.control(Ctl::List1));
    }

    // A key as the keyboard sends it; the loop makes the character of it.
    void type(char c)
    {
        HWND list = ws.control(Ctl::List1);
        const auto vk = static_cast<WPARAM>(::VkKeyScanA(c) & 0xff);
        ::PostMessageW(list, WM_KEYDOWN, vk, 1);
        ::PostMessageW(list, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
        ws.doEvents();
    }
};

TEST_F(Win32Window, KeysChooseTheDriveTheyName)
{
    for (const auto& c : test::kDriveKeyCases) {
        const std::size_t before = ran.size();
        type(c.typed);
        ASSERT_EQ(ran.size(), before + (c.runs != 0)) << "typed '" << c.typed << "'";
        if (c.runs) {
            EXPECT_EQ(ran.back()[1], c.runs) << "typed '" << c.typed << "'";
        }
    }
}

} // namespace

namespace {

// What Active Accessibility answers for a window's client area: its name
// and role. Empty name and role 0 when it cannot answer.
std::pair<std::wstring, long> asked(HWND h)
{
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(&acc))))
        return {L"<no object>", 0};
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring n = SUCCEEDED(acc->get_accName(self, &name)) && name ? name : L"";
    ::SysFreeString(name);
    VARIANT role;
    ::VariantInit(&role);
    long r = SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : 0;
    acc->Release();
    return {n, r};
}

// Names are annotated over what the system answers, so window texts stay.
// Wine 8 has the annotation service but its setters are stubs (E_NOTIMPL):
// there a screen reader gets the standard answer, the window's text.
TEST_F(Win32Window, ScreenReadersAskThroughActiveAccessibility)
{
    HWND scratch = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, ::GetParent(ws.control(Ctl::List1)),
                                     nullptr, nullptr, nullptr);
    const bool annotates = Spoken().name(scratch, "scratch");
    ::DestroyWindow(scratch);
    ws.setCaption(Ctl::Label1, "1240.102432");
    struct Case {
        Ctl ctl;
        const wchar_t* name;
        const wchar_t* text;
    } cases[] = {
        {Ctl::Command3, L"One size smaller", L""}, {Ctl::Command1, L"One size larger", L""},
        {Ctl::Command2, L"Exit", L"&Exit"},       {Ctl::Label9, L"Test size: 1M", L"1M"},
        {Ctl::Label1, L"Write rate, MB/s: 1240.102432", L"1240.102432"},
    };
    for (const auto& c : cases) {
        wchar_t text[64] = L"";
        ::GetWindowTextW(ws.control(c.ctl), text, 64);
        EXPECT_STREQ(text, c.text) << controlLayout(c.ctl).name;
        std::wstring plain = c.text;
        std::erase(plain, L'&');
        EXPECT_EQ(asked(ws.control(c.ctl)).first, annotates ? c.name : plain) << controlLayout(c.ctl).name;
    }
    ws.loadWait(WaitKind::PleaseWaitWriting);
    auto [name, role] = asked(ws.waitWindow(WaitKind::PleaseWaitWriting));
    EXPECT_EQ(name, annotates ? L"Please Wait Writing To Disk" : L"");
    EXPECT_NE(role, 0);
    ws.unloadWait(WaitKind::PleaseWaitWriting);
}

} // namespace
