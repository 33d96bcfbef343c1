// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The Win32 wait windows, built from the wait layout: one per kind, taken
// down by unload, or early by the user closing it.

#include "platform/window_system.h"
#include "ui/win32/win_look.h"

#include <windows.h>

#include <map>

namespace vantric {

class Win32WaitWindows {
public:
    Win32WaitWindows(HINSTANCE instance, HICON icon, HICON smallIcon, FontCache& fonts);
    Win32WaitWindows(const Win32WaitWindows&) = delete;
    Win32WaitWindows& operator=(const Win32WaitWindows&) = delete;
    ~Win32WaitWindows();

    void load(WaitKind w);
    void show(WaitKind w);
    // Does nothing when the window is not loaded or was closed already.
    void unload(WaitKind w);
    // nullptr when not loaded.
    HWND window(WaitKind w) const;

private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    HINSTANCE instance_;
    FontCache& fonts_;
    HBRUSH back_ = nullptr;
    HBRUSH label_ = nullptr;
    std::map<WaitKind, HWND> windows_;
};

} // namespace vantric
