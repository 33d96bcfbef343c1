// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/cli.h"
#include "app/system/system_services.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace vantric;
    // A closed pipe on stdout is then a write error, reported, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    SystemServices system;
    return runCli(std::vector<std::string>(argv + 1, argv + argc), system.services(),
                  CliStreams {std::cout, std::cerr, ::isatty(2) == 1});
}
