// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The wait windows described once, as data: titles, message label, colours
// and font, in twips. The fonts, colours and twips here are also the words
// the main window's layout is written in.

#include "platform/window_system.h"

namespace vantric {

// A face name as the layout gives it; points at 96 dots per inch.
struct FontFace {
    const char* face = nullptr; // nullptr: the window system's default font
    double points = 0;
    bool bold = false;
    bool italic = false;
};

struct Rgb {
    unsigned char r, g, b;
};

struct WaitWindowLayout {
    int clientWidth, clientHeight;              // twips
    Rgb background;
    int labelLeft, labelTop, labelWidth, labelHeight;
    Rgb labelBackground, labelText;
    FontFace font;
};

const WaitWindowLayout& waitWindowLayout();

// 1440 twips to the inch, 15 to the pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips, int dpi = 96)
{
    return (twips * dpi + 720) / 1440;
}

} // namespace vantric
