// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// vantric-cli: the same survey and runs as the window, driven through the
// main window's own handlers, with the rows printed instead of shown.

#include "app/frmDrive.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vantric {

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draw progress lines
};

struct CliOptions {
    bool list = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::string drive;
    std::string size = "1M";
    int repeat = 1;
    std::string metrics; // empty: none written
};

// Exactly one of the two is set.
struct ParsedArguments {
    std::optional<CliOptions> options;
    std::string error;
};

// args: without the program's name. Reads nothing but the arguments.
ParsedArguments parseCliArguments(const std::vector<std::string>& args);

// Returns the exit status: 0 done, 1 the test or the output failed, 2 bad
// arguments.
int runCli(const std::vector<std::string>& args, Services services, CliStreams io);

} // namespace vantric
