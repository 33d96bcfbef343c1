// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Every window class of the program is registered here, in the program's
// own module, with the arrow cursor.

#include <windows.h>

namespace vantric {

struct WindowClass {
    const wchar_t* name;
    WNDPROC proc;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    // Must outlive every window of the class; null when the window erases
    // its own background.
    HBRUSH background = nullptr;
};

// True when the class can be used: registered now, or already by an earlier
// window system of this process (tests make one per case).
bool registerWindowClass(const WindowClass& c);

} // namespace vantric
