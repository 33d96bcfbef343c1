// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What the Win32 windows share: twips at the monitor's DPI, a frame centred
// on the monitor, and the layout's fonts made once per face and DPI.

#include "ui/wait_layout.h"

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

namespace vantric {

int px(int twips, UINT dpi);

// The window's outer size for a client area of the given twips, centred on
// the monitor that holds `anchor` (the primary monitor when null).
RECT centredFrame(int clientWidth, int clientHeight, DWORD style, UINT dpi, HWND anchor);

class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    ~FontCache();

    HFONT get(const FontFace& f, UINT dpi);

private:
    std::map<std::tuple<std::string, double, bool, bool, UINT>, HFONT> fonts_;
};

} // namespace vantric
