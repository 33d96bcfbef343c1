// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/win32/win_look.h"

#include "platform/windows/win_text.h"

#include <algorithm>
#include <cmath>

namespace vantric {

int px(int twips, UINT dpi)
{
    return twipsToPixels(twips, static_cast<int>(dpi));
}

RECT centredFrame(int clientWidth, int clientHeight, DWORD style, UINT dpi, HWND anchor)
{
    RECT r {0, 0, px(clientWidth, dpi), px(clientHeight, dpi)};
    ::AdjustWindowRectExForDpi(&r, style, FALSE, 0, dpi);
    HMONITOR mon = anchor ? ::MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY)
                        : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(mon, &mi);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left - w) / 2;
    const int y = mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top - h) / 2;
    return {x, y, x + w, y + h};
}

FontCache::~FontCache()
{
    for (auto& [_, f] : fonts_)
        ::DeleteObject(f);
}

HFONT FontCache::get(const FontFace& f, UINT dpi)
{
    auto key = std::make_tuple(std::string(f.face ? f.face : ""), f.points, f.bold, f.italic, dpi);
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    LOGFONTW lf {};
    if (f.face) {
        lf.lfHeight = -static_cast<LONG>(std::lround(f.points * dpi / 72.0));
        lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = f.italic ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        std::wstring face = wide(f.face);
        face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
        std::copy(face.begin(), face.end(), lf.lfFaceName);
    } else {
        // The system's dialog font at this DPI.
        NONCLIENTMETRICSW ncm {};
        ncm.cbSize = sizeof ncm;
        ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi);
        lf = ncm.lfMessageFont;
    }
    HFONT h = ::CreateFontIndirectW(&lf);
    fonts_[key] = h;
    return h;
}

} // namespace vantric
