#pragma once
// The four windows described once, as data: every control of the main
// window with its kind, place, font, caption, look and visibility, in focus
// order, and the wait windows' titles, messages and layout. Each window
// system builds its windows from this, and the windowless ones start their
// controls from it.

#include "platform/window_system.h"

#include <span>

namespace vantric {

enum class ControlKind { Label, TextBox, ListBox, Button };

// A face name as the layout gives it; points at 96 dots per inch.
struct FontFace {
    const char* face = nullptr; // nullptr: the window system's default font
    double points = 0;
    bool bold = false;
    bool italic = false;
};

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

struct MainWindowLayout {
    const char* title;
    int clientWidth, clientHeight; // twips
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

const MainWindowLayout& mainWindowLayout();
// Every control of the main window, in focus order; storage controls included.
std::span<const ControlLayout> mainWindowControls();
const ControlLayout& controlLayout(Ctl c);

const WaitWindowLayout& waitWindowLayout();
// "           ", "" and " ".
const char* waitTitle(WaitKind w);

// 1440 twips to the inch, 15 to the pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips, int dpi = 96)
{
    return (twips * dpi + 720) / 1440;
}

} // namespace vantric
