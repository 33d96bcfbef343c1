// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/win32/win32_window_system.h"

#include "app/drive_keys.h"
#include "platform/windows/win_text.h"
#include "platform/windows/window_class.h"

#include <commctrl.h>

namespace vantric {

namespace {

constexpr wchar_t kMainClass[] = L"VantricMain";
constexpr int kFirstId = 100;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

} // namespace

void Win32WindowSystem::createMain()
{
    registerWindowClass({kMainClass, mainProc, icon_, smallIcon_, ::GetSysColorBrush(COLOR_BTNFACE)});

    const MainWindowLayout& layout = mainWindowLayout();
    main_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, wide(layout.title).c_str(), kMainStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
    if (!main_)
        throw winError("Cannot create the main window", ::GetLastError());
    // Made in focus order, which is the order Tab follows.
    int id = kFirstId;
    for (const ControlLayout& c : mainWindowControls()) {
        const wchar_t* cls = L"STATIC";
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0);
        switch (c.kind) {
        case ControlKind::Label:
            style |= SS_NOPREFIX
                     | (c.look == Look::ValueBox          ? SS_CENTER | SS_CENTERIMAGE | WS_BORDER
                        : c.look == Look::CentredNoBorder ? SS_CENTER
                                                          : SS_LEFT);
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            style |= WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
            break;
        case ControlKind::ListBox:
            cls = L"LISTBOX";
            style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            break;
        case ControlKind::Button:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        }
        HWND h = ::CreateWindowExW(0, cls, wide(c.caption).c_str(), style, 0, 0, 0, 0, main_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance_, nullptr);
        if (!h)
            throw winError(std::string("Cannot create the control ") + c.name, ::GetLastError());
        controls_[c.ctl] = h;
        specs_[h] = &c;
        speak(c.ctl, c.caption);
        if (const std::string d = spokenDescription(c.ctl); !d.empty())
            spoken_.description(h, d);
    }
    // Where labels overlap others, the one made later is on top, as the
    // layout means; the controls that take the focus keep the order of
    // their making, which Tab follows.
    const auto controls = mainWindowControls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (it->kind == ControlKind::Label)
            ::SetWindowPos(control(it->ctl), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowSubclass(control(Ctl::List1), listProc, 1, reinterpret_cast<DWORD_PTR>(this));
    for (const ControlLayout& c : mainWindowControls())
        if (c.kind == ControlKind::Button)
            ::SetWindowSubclass(control(c.ctl), buttonProc, 1, reinterpret_cast<DWORD_PTR>(this));

    const ControlLayout& list1 = controlLayout(Ctl::List1);
    if (list1.tooltip) {
        tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance_, nullptr);
        static std::wstring tip = wide(list1.tooltip);
        TOOLINFOW ti {};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = main_;
        ti.uId = reinterpret_cast<UINT_PTR>(control(Ctl::List1));
        ti.lpszText = tip.data();
        ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }

    RECT frame = centredFrame(layout.clientWidth, layout.clientHeight, kMainStyle, ::GetDpiForWindow(main_), nullptr);
    ::SetWindowPos(main_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    layoutMain(::GetDpiForWindow(main_));
}

void Win32WindowSystem::layoutMain(UINT dpi)
{
    for (const ControlLayout& c : mainWindowControls()) {
        HWND h = control(c.ctl);
        ::MoveWindow(h, px(c.left, dpi), px(c.top, dpi), px(c.width, dpi), px(c.height, dpi), FALSE);
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(c.font, dpi)), FALSE);
    }
    ::InvalidateRect(main_, nullptr, TRUE);
}

LRESULT CALLBACK Win32WindowSystem::mainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32WindowSystem*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    return self ? self->onMain(h, msg, wp, lp) : ::DefWindowProcW(h, msg, wp, lp);
}

LRESULT Win32WindowSystem::onMain(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp) {
            auto it = specs_.find(reinterpret_cast<HWND>(lp));
            if (it == specs_.end())
                break;
            clicked(it->second->ctl);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        auto it = specs_.find(reinterpret_cast<HWND>(lp));
        HDC dc = reinterpret_cast<HDC>(wp);
        if (it != specs_.end() && it->second->look == Look::ValueBox) {
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        // Focus comes back where it was, as in a dialog.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = ::GetFocus();
            if (f && ::GetParent(f) == h)
                focus_ = f;
        } else if (focus_ && ::IsWindowVisible(focus_)) {
            ::SetFocus(focus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        auto* r = reinterpret_cast<RECT*>(lp);
        ::SetWindowPos(h, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        layoutMain(HIWORD(wp));
        return 0;
    }
    case WM_ENDSESSION:
        if (wp && onClosed)
            onClosed();
        return 0;
    case WM_CLOSE:
        if (onClosed)
            onClosed();
        ::DestroyWindow(h);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

// A row chosen with the mouse (pressed and released on it) or the selection
// moved with the keyboard is a click of List1; focus coming in, or the
// program selecting a row, is not.
LRESULT CALLBACK Win32WindowSystem::listProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<Win32WindowSystem*>(ref);
    auto rowAt = [h](LPARAM pos) {
        LRESULT r = ::SendMessageW(h, LB_ITEMFROMPOINT, 0, pos);
        return HIWORD(r) ? -1 : static_cast<int>(LOWORD(r));
    };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        self->inputBegun(Ctl::List1);
        self->pressedRow_ = rowAt(lp);
        break;
    case WM_LBUTTONUP: {
        LRESULT r = ::DefSubclassProc(h, msg, wp, lp);
        const int row = rowAt(lp);
        const bool chosen = row >= 0 && row == self->pressedRow_;
        self->pressedRow_ = -1;
        if (chosen)
            self->clicked(Ctl::List1);
        return r;
    }
    case WM_CHAR:
        // In place of the list's type-ahead, which matches the blank every
        // row starts with.
        self->typeOnDriveList(static_cast<char32_t>(wp));
        return 0;
    case WM_KEYDOWN: {
        self->inputBegun(Ctl::List1);
        if (wp == VK_SPACE)
            return 0; // the character it makes chooses the row
        const LRESULT before = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
        LRESULT r = ::DefSubclassProc(h, msg, wp, lp);
        const LRESULT after = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
        if (after != LB_ERR && after != before)
            self->clicked(Ctl::List1);
        return r;
    }
    default: break;
    }
    return ::DefSubclassProc(h, msg, wp, lp);
}

void Win32WindowSystem::typeOnDriveList(char32_t typed)
{
    HWND list = control(Ctl::List1);
    std::vector<std::string> rows;
    for (int i = 0, n = rowCount(Ctl::List1); i < n; ++i)
        rows.push_back(rowText(list, i));
    const DriveKey key = driveKey(typed, rows);
    if (key.kind == DriveKey::Ignore)
        return;
    // The focused row is the caret's, selected or not.
    int row = key.kind == DriveKey::ChooseRow ? key.row
                                              : static_cast<int>(::SendMessageW(list, LB_GETCARETINDEX, 0, 0));
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return;
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    clicked(Ctl::List1);
}

// Notes where input that may end in a click begins (a press, a key going
// down, an access key's or another program's BM_CLICK), so that what
// begins during a run clicks nothing after it.
LRESULT CALLBACK Win32WindowSystem::buttonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_KEYDOWN || msg == BM_CLICK) {
        auto* self = reinterpret_cast<Win32WindowSystem*>(ref);
        if (auto it = self->specs_.find(h); it != self->specs_.end())
            self->inputBegun(it->second->ctl);
    }
    return ::DefSubclassProc(h, msg, wp, lp);
}

} // namespace vantric
