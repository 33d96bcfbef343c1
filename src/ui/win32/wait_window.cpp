// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/win32/wait_window.h"

#include "platform/windows/win_text.h"
#include "platform/windows/window_class.h"

namespace vantric {

namespace {

constexpr wchar_t kWaitClass[] = L"VantricWait";
// A popup, shown without taking the activation: no window manager is asked
// to map or withdraw it (Wine without one waits 2 s on each hide, while the
// run is still in its handler), and the main window keeps the keys.
constexpr DWORD kWaitStyle = WS_POPUP;

} // namespace

Win32WaitWindows::Win32WaitWindows(HINSTANCE instance, HICON icon, HICON smallIcon, FontCache& fonts)
    : instance_(instance), fonts_(fonts)
{
    const WaitWindowLayout& wait = waitWindowLayout();
    back_ = ::CreateSolidBrush(RGB(wait.background.r, wait.background.g, wait.background.b));
    label_ = ::CreateSolidBrush(RGB(wait.labelBackground.r, wait.labelBackground.g, wait.labelBackground.b));
    // The class outlives this object: each window erases with this
    // object's brush.
    registerWindowClass({kWaitClass, proc, icon, smallIcon});
}

Win32WaitWindows::~Win32WaitWindows()
{
    for (auto& [_, h] : windows_)
        if (::IsWindow(h))
            ::DestroyWindow(h);
    ::DeleteObject(back_);
    ::DeleteObject(label_);
}

LRESULT CALLBACK Win32WaitWindows::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32WaitWindows*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND:
        if (self) {
            RECT r;
            ::GetClientRect(h, &r);
            ::FillRect(reinterpret_cast<HDC>(wp), &r, self->back_);
            return 1;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (self) {
            const WaitWindowLayout& layout = waitWindowLayout();
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetTextColor(dc, RGB(layout.labelText.r, layout.labelText.g, layout.labelText.b));
            ::SetBkColor(dc, RGB(layout.labelBackground.r, layout.labelBackground.g, layout.labelBackground.b));
            return reinterpret_cast<LRESULT>(self->label_);
        }
        break;
    case WM_CLOSE:
        // Closing only takes the window down early; the caller's unload
        // then finds it gone.
        ::DestroyWindow(h);
        return 0;
    default: break;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

void Win32WaitWindows::load(WaitKind w)
{
    unload(w);
    const WaitWindowLayout& layout = waitWindowLayout();
    HWND h = ::CreateWindowExW(0, kWaitClass, wide(waitText(w).title).c_str(), kWaitStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               100, 100, nullptr, nullptr, instance_, this);
    if (!h)
        throw winError("Cannot create the wait window", ::GetLastError());
    const UINT dpi = ::GetDpiForWindow(h);
    HWND label = ::CreateWindowExW(0, L"STATIC", wide(waitText(w).message).c_str(),
                                   WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, px(layout.labelLeft, dpi),
                                   px(layout.labelTop, dpi), px(layout.labelWidth, dpi), px(layout.labelHeight, dpi), h,
                                   nullptr, instance_, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(layout.font, dpi)), FALSE);
    RECT frame = centredFrame(layout.clientWidth, layout.clientHeight, kWaitStyle, dpi, nullptr);
    ::SetWindowPos(h, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    windows_[w] = h;
}

void Win32WaitWindows::show(WaitKind w)
{
    auto it = windows_.find(w);
    if (it == windows_.end() || !::IsWindow(it->second))
        return;
    ::SetWindowPos(it->second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

HWND Win32WaitWindows::window(WaitKind w) const
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second;
}

void Win32WaitWindows::unload(WaitKind w)
{
    auto it = windows_.find(w);
    if (it == windows_.end())
        return;
    if (::IsWindow(it->second))
        ::DestroyWindow(it->second);
    windows_.erase(it);
}

} // namespace vantric
