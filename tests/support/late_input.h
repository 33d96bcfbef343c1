// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Input reaching the main window at a run's processing point, completed after it: none of it may act.

#include "platform/window_system.h"

#include <gtest/gtest.h>

namespace vantric::test {

enum class LateInput {
    AccessKey, // Alt with the button's letter
    Click,     // pressed and released at the processing point
    EnterKey,  // Enter on the focused button
    SpaceHeld, // the space bar down on the focused button, up after the run
    MouseHeld, // the mouse button down on the control, up after the run
};

struct LateInputCase {
    const char* name;
    LateInput input;
    Ctl target;
};

inline constexpr LateInputCase kLateInputCases[] = {
    {"AltS", LateInput::AccessKey, Ctl::Command4},
    {"ClickOnSave", LateInput::Click, Ctl::Command4},
    {"EnterOnStepDown", LateInput::EnterKey, Ctl::Command3},
    {"SpaceHeldOnStepUp", LateInput::SpaceHeld, Ctl::Command1},
    {"SpaceHeldOnSave", LateInput::SpaceHeld, Ctl::Command4},
    {"MouseHeldOnStepDown", LateInput::MouseHeld, Ctl::Command3},
    {"MouseHeldOnSecondRow", LateInput::MouseHeld, Ctl::List1},
};

// The letter after "&" in a caption.
inline char accessLetter(const std::string& caption)
{
    auto amp = caption.find('&');
    return amp + 1 < caption.size() ? caption[amp + 1] : '\0';
}

// After one "1k" run that met the case's input: that run's rows only, the size as it was, nothing saved.
inline void expectNoLateEffect(const WindowSystem& ws, int saves, const LateInputCase& c)
{
    EXPECT_EQ(ws.rowCount(Ctl::List2), 5) << c.name;
    EXPECT_EQ(ws.caption(Ctl::Label9), "1k") << c.name;
    EXPECT_EQ(saves, 0) << c.name;
}

} // namespace vantric::test
