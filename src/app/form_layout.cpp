// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/form_layout.h"

namespace vantric {

namespace {

constexpr FontFace kList {"Courier New", 9.75};
constexpr FontFace kValue {"Arial", 12, true};
constexpr FontFace kHeading {"MS Sans Serif", 12, true};
constexpr FontFace kButton {"Verdana", 9.75, true, true};
constexpr FontFace kTime {"MS Sans Serif", 9.75};
constexpr FontFace kDefault {};

using K = ControlKind;
using L = Look;

constexpr ControlLayout kControls[] = {
    {Ctl::Text1, "Text1", K::TextBox, 0, 0, 0, 0, "C", false, kDefault, L::Plain, nullptr},
    {Ctl::Command2, "Command2", K::Button, 3000, 3120, 2895, 375, "&Exit", true, kButton, L::Plain, nullptr},
    {Ctl::lblDrive, "lblDrive", K::Label, 0, 0, 0, 0, "", false, kDefault, L::Plain, nullptr},
    {Ctl::lblSN, "lblSN", K::Label, 0, 0, 0, 0, "", false, kDefault, L::Plain, nullptr},
    {Ctl::lblTot, "lblTot", K::Label, 0, 0, 0, 0, "", false, kDefault, L::Plain, nullptr},
    {Ctl::lblFree, "lblFree", K::Label, 0, 0, 0, 0, "", false, kDefault, L::Plain, nullptr},
    {Ctl::List1, "List1", K::ListBox, 50, 50, 8895, 2460, "", true, kList, L::Plain,
     " Click On Drive To Start Vantric"},
    {Ctl::Label2, "Label2", K::Label, 0, 0, 0, 0, "Label2", false, kDefault, L::Plain, nullptr},
    {Ctl::Label3, "Label3", K::Label, 0, 3600, 2535, 360, "", true, kTime, L::CentredNoBorder, nullptr},
    {Ctl::Label5, "Label5", K::Label, 6300, 3600, 2600, 360, "", true, kTime, L::CentredNoBorder, nullptr},
    {Ctl::Label6, "Label6", K::Label, 480, 2760, 1815, 375, "Write [MB/s]", true, kHeading, L::Plain, nullptr},
    {Ctl::Label7, "Label7", K::Label, 6720, 2760, 1935, 255, "Read [MB/s]", true, kHeading, L::Plain, nullptr},
    {Ctl::Label1, "Label1", K::Label, 50, 3120, 2600, 360, "", true, kValue, L::ValueBox, nullptr},
    {Ctl::Label4, "Label4", K::Label, 6300, 3120, 2600, 360, "", true, kValue, L::ValueBox, nullptr},
    {Ctl::Label9, "Label9", K::Label, 3430, 2640, 1995, 360, "1M", true, kValue, L::ValueBox, nullptr},
    {Ctl::Command1, "Command1", K::Button, 5520, 2640, 375, 360, "", true, kDefault, L::Plain, nullptr},
    {Ctl::Command3, "Command3", K::Button, 3000, 2640, 375, 360, "", true, kDefault, L::Plain, nullptr},
    {Ctl::List2, "List2", K::ListBox, 50, 4100, 8895, 2460, "", true, kList, L::Plain, nullptr},
    {Ctl::Command4, "Command4", K::Button, 3000, 3600, 2895, 375, "&Save Log File", false, kButton, L::Plain,
     nullptr},
};

constexpr MainWindowLayout kMain {" Vantric", 8985, 6630};

struct Spoken {
    Ctl ctl;
    const char* name;
    const char* description;
    bool figure; // the name goes on with the caption
};

constexpr Spoken kSpoken[] = {
    {Ctl::List1, "Drives", "Choosing a drive writes and reads a test file on it", false},
    {Ctl::List2, "Results log", "Five rows for every run", false},
    {Ctl::Command3, "One size smaller", "Steps the test size down", false},
    {Ctl::Command1, "One size larger", "Steps the test size up", false},
    {Ctl::Label9, "Test size", "The size of the test file", true},
    {Ctl::Label1, "Write rate, MB/s", "", true},
    {Ctl::Label3, "Write time", "", true},
    {Ctl::Label4, "Read rate, MB/s", "", true},
    {Ctl::Label5, "Read time", "", true},
};

const Spoken* spoken(Ctl c)
{
    for (const Spoken& s : kSpoken)
        if (s.ctl == c)
            return &s;
    return nullptr;
}

} // namespace

const MainWindowLayout& mainWindowLayout()
{
    return kMain;
}

std::span<const ControlLayout> mainWindowControls()
{
    return kControls;
}

const ControlLayout& controlLayout(Ctl c)
{
    for (const ControlLayout& s : kControls)
        if (s.ctl == c)
            return s;
    return kControls[0]; // every Ctl is in the table
}

std::string spokenName(Ctl c, const std::string& caption)
{
    const Spoken* s = spoken(c);
    if (!s)
        return {};
    return s->figure && !caption.empty() ? std::string(s->name) + ": " + caption : s->name;
}

std::string spokenDescription(Ctl c)
{
    const Spoken* s = spoken(c);
    return s ? s->description : "";
}

} // namespace vantric
