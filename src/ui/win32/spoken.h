// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What assistive technology reads for a window, annotated on top of what
// the window system answers (Dynamic Annotation), so that the window's own
// text stays as it is.

#include <windows.h>

#include <string>

struct IAccPropServices;

namespace vantric {

class Spoken {
public:
    Spoken(); // on the thread of the windows: it starts COM there
    Spoken(const Spoken&) = delete;
    Spoken& operator=(const Spoken&) = delete;
    ~Spoken();

    // Each true when the annotation was taken.
    bool name(HWND h, const std::string& text);
    bool description(HWND h, const std::string& text);
    // A role from oleacc.h (ROLE_SYSTEM_*).
    bool role(HWND h, long role);

private:
    bool annotate(HWND h, const GUID& property, const std::string& text);

    bool com_ = false;
    IAccPropServices* services_ = nullptr;
};

} // namespace vantric
