// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/win32/win32_window_system.h"

#include "platform/windows/win_text.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>

namespace vantric {

namespace {

std::wstring windowText(HWND h)
{
    int n = ::GetWindowTextLengthW(h);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

bool isButton(const ControlLayout* s)
{
    return s && s->kind == ControlKind::Button;
}

HICON programIcon(HINSTANCE instance, int width, int height)
{
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(width),
                                           ::GetSystemMetrics(height), 0));
}

} // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance)
    : instance_(instance), icon_(programIcon(instance, SM_CXICON, SM_CYICON)),
      smallIcon_(programIcon(instance, SM_CXSMICON, SM_CYSMICON)), waits_(instance, icon_, smallIcon_, fonts_)
{
    INITCOMMONCONTROLSEX icc {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    createMain();
}

Win32WindowSystem::~Win32WindowSystem()
{
    if (::IsWindow(main_))
        ::DestroyWindow(main_);
}

HWND Win32WindowSystem::control(Ctl c) const
{
    return controls_.at(c);
}

std::string Win32WindowSystem::caption(Ctl c) const
{
    return utf8(windowText(control(c)));
}

void Win32WindowSystem::setCaption(Ctl c, const std::string& text)
{
    ::SetWindowTextW(control(c), wide(text).c_str());
    speak(c, text);
}

void Win32WindowSystem::speak(Ctl c, const std::string& caption)
{
    if (const std::string name = spokenName(c, caption); !name.empty())
        spoken_.name(control(c), name);
}

void Win32WindowSystem::addRow(Ctl list, const std::string& row)
{
    ::SendMessageW(control(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(row).c_str()));
}

std::string rowText(HWND list, int index)
{
    LRESULT n = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR)
        return {};
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    n = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : static_cast<std::size_t>(n));
    return utf8(s);
}

std::string Win32WindowSystem::selectedRow(Ctl list) const
{
    HWND h = control(list);
    LRESULT i = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
    return i == LB_ERR ? std::string() : rowText(h, static_cast<int>(i));
}

int Win32WindowSystem::rowCount(Ctl list) const
{
    return static_cast<int>(::SendMessageW(control(list), LB_GETCOUNT, 0, 0));
}

void Win32WindowSystem::selectRow(Ctl list, int index)
{
    // The list scrolls the row into view.
    ::SendMessageW(control(list), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32WindowSystem::setVisible(Ctl c, bool visible)
{
    ::ShowWindow(control(c), visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32WindowSystem::isVisible(Ctl c) const
{
    return (::GetWindowLongW(control(c), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32WindowSystem::showMain()
{
    ::ShowWindow(main_, SW_SHOW);
    ::SetForegroundWindow(main_);
    ::BringWindowToTop(main_);
    if (!shownOnce_) {
        shownOnce_ = true;
        focus_ = control(Ctl::Command2);
        ::SetFocus(focus_);
    }
}

// An alert named by its message, as the title is blank.
void Win32WindowSystem::loadWait(WaitKind w)
{
    waits_.load(w);
    spoken_.role(waits_.window(w), ROLE_SYSTEM_ALERT);
    spoken_.name(waits_.window(w), waitText(w).message);
}

// Announced at once: while the pass blocks the program, no one can ask it
// what the window says.
void Win32WindowSystem::showWait(WaitKind w)
{
    waits_.show(w);
    if (HWND h = waits_.window(w))
        ::NotifyWinEvent(EVENT_SYSTEM_ALERT, h, OBJID_CLIENT, CHILDID_SELF);
}

void Win32WindowSystem::unloadWait(WaitKind w)
{
    waits_.unload(w);
}

bool Win32WindowSystem::preTranslate(MSG& m)
{
    // Enter on a focused button clicks it, as the space bar does; on the
    // drive list it chooses the focused row. The dialog manager would
    // take it for the default button otherwise.
    if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
        auto it = specs_.find(m.hwnd);
        if (it != specs_.end() && isButton(it->second)) {
            ::SendMessageW(m.hwnd, BM_CLICK, 0, 0);
            return true;
        }
        if (m.hwnd == control(Ctl::List1)) {
            inputBegun(Ctl::List1);
            typeOnDriveList(U'\r');
            return true;
        }
    }
    return false;
}

bool Win32WindowSystem::drain()
{
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(m.wParam));
            return false;
        }
        if (preTranslate(m) || ::IsDialogMessageW(main_, &m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return true;
}

void Win32WindowSystem::doEvents()
{
    if (!drain())
        endProgram();
    // What was drawn reaches the screen now, before the busy work.
    ::GdiFlush();
}

void Win32WindowSystem::settleInput()
{
    if (!drain())
        endProgram();
}

int Win32WindowSystem::run()
{
    MSG m;
    while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (preTranslate(m) || ::IsDialogMessageW(main_, &m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}

void Win32WindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    HWND owner = ::IsWindowVisible(main_) ? main_ : nullptr;
    ::MessageBoxW(owner, wide(text).c_str(), wide(caption).c_str(), MB_OK);
}

void Win32WindowSystem::errorBox(const std::string& text)
{
    HWND owner = ::IsWindowVisible(main_) ? main_ : nullptr;
    ::MessageBoxW(owner, wide(text).c_str(), L"Vantric", MB_OK | MB_ICONERROR);
}

void Win32WindowSystem::endProgram()
{
    // At once, even from inside a running handler: the system closes what is open.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace vantric
