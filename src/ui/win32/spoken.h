// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What assistive technology reads for a window, on top of what the system's
// standard accessible object answers, so that the window's own text stays as
// it is. The window answers WM_GETOBJECT itself: Dynamic Annotation is not
// there everywhere (Wine's is a stub).

#include <windows.h>

#include <map>
#include <string>

namespace vantric {

class Spoken {
public:
    Spoken(); // on the thread of the windows: it starts COM there
    Spoken(const Spoken&) = delete;
    Spoken& operator=(const Spoken&) = delete;
    ~Spoken();

    // The window must be of this thread; what is said goes with it.
    void name(HWND h, const std::string& text);
    void description(HWND h, const std::string& text);
    // A role from oleacc.h (ROLE_SYSTEM_*).
    void role(HWND h, long role);

    struct Said {
        std::wstring name, description;
        long role = 0;
    };

private:
    Said& said(HWND h);

    bool com_ = false;
    std::map<HWND, Said> said_;
};

} // namespace vantric
