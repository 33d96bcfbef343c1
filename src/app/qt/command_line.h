// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once

#include <optional>
#include <ostream>

namespace vantric {

enum class CommandLineRequest { OpenWindow, Help, Version, BadUsage };

// No argument opens the window; "--help" or "--version" alone is answered in
// text; anything else is a usage error.
CommandLineRequest parseCommandLine(int argc, const char* const* argv);

// Answers what needs no window: prints help or version to out, or the usage
// line to err, and gives the exit status. Empty when the window is wanted.
std::optional<int> answerWithoutWindow(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace vantric
