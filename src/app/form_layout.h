// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The main window described once, as data: every control with its kind,
// place, font, caption, look and visibility, in focus order. Each window
// system builds its main window from this, and the windowless ones start
// their controls from it.

#include "platform/window_system.h"
#include "ui/wait_layout.h"

#include <span>
#include <string>

namespace vantric {

enum class ControlKind { Label, TextBox, ListBox, Button };

enum class Look {
    Plain,           // the window's colours, left-aligned
    ValueBox,        // window background and text colours, single border, centred
    CentredNoBorder, // the window's colours, centred horizontally, from the top
};

struct ControlLayout {
    Ctl ctl;
    const char* name;
    ControlKind kind;
    int left, top, width, height; // twips, from the client area's top left
    const char* caption;          // "&" marks the access key of a button
    bool visible;
    FontFace font;
    Look look;
    const char* tooltip;
};

// A control the window only keeps a value in: never placed, never shown,
// and not offered to assistive technology.
inline bool isStorage(const ControlLayout& c)
{
    return c.width == 0;
}

struct MainWindowLayout {
    const char* title;
    int clientWidth, clientHeight; // twips
};

const MainWindowLayout& mainWindowLayout();
// Every control of the main window, in focus order; storage controls included.
std::span<const ControlLayout> mainWindowControls();
const ControlLayout& controlLayout(Ctl c);

// What assistive technology says for a control whose caption alone says too
// little (or nothing); the window itself shows none of it. Empty when the
// caption is the name. A figure's name ends in the caption it shows.
std::string spokenName(Ctl c, const std::string& caption);
std::string spokenDescription(Ctl c);

} // namespace vantric
