// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// vantric-cli: the same survey and runs as the window, driven through the
// main window's own handlers, with the rows printed instead of shown.

#include "app/frmDrive.h"

#include <ostream>
#include <string>
#include <vector>

namespace vantric {

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draw progress lines
};

// args: without the program's name. Returns the exit status: 0 done, 1 the
// test failed, 2 bad arguments.
int runCli(const std::vector<std::string>& args, Services services, CliStreams io);

} // namespace vantric
