// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Whether a window can be shown, found out before Qt is started: Qt ends the
// process with an abort when its platform cannot connect.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

// The window-system platforms to try, in order: those named by
// QT_QPA_PLATFORM; else Wayland then X11 in a Wayland session, which is one
// that says so (XDG_SESSION_TYPE) or, saying nothing, has a Wayland display;
// else X11.
std::vector<std::string> qtPlatformCandidates();

// Why none of the platforms can show a window, naming each display tried;
// nullopt when one can (or when a platform is one that cannot be checked
// here, such as offscreen), and then `usable` names it (empty for one not
// checked). pluginInstalled: whether Qt has the platform plugin of that
// file name.
std::optional<std::string> displayProblem(const std::vector<std::string>& platforms,
                           const std::function<bool(const std::string& pluginFile)>& pluginInstalled,
                           std::string* usable = nullptr);

} // namespace vantric
