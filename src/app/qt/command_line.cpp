// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/command_line.h"

#include "app/qt/identity.h"

#include <string_view>

namespace vantric {

namespace {

constexpr std::string_view kUsage = "usage: vantric [--help | --version]\n";

constexpr std::string_view kHelp =
    "Times how fast a drive can be written and read.\n"
    "\n"
    "Started without arguments, Vantric opens its window (an X11 or Wayland\n"
    "display is needed): pick a test size, click a drive, and it writes a\n"
    "scratch file there, reads its first half back, deletes it and shows both\n"
    "rates.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n";

} // namespace

CommandLineRequest parseCommandLine(int argc, const char* const* argv)
{
    if (argc <= 1)
        return CommandLineRequest::OpenWindow;
    if (argc > 2)
        return CommandLineRequest::BadUsage;
    const std::string_view arg = argv[1];
    if (arg == "--help")
        return CommandLineRequest::Help;
    if (arg == "--version")
        return CommandLineRequest::Version;
    return CommandLineRequest::BadUsage;
}

std::optional<int> answerWithoutWindow(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    switch (parseCommandLine(argc, argv)) {
    case CommandLineRequest::OpenWindow:
        return std::nullopt;
    case CommandLineRequest::Help:
        out << kUsage << '\n' << kHelp;
        out.flush();
        return out ? 0 : 1;
    case CommandLineRequest::Version:
        out << kAppName << ' ' << appVersion() << '\n';
        out.flush();
        return out ? 0 : 1;
    case CommandLineRequest::BadUsage:
        break;
    }
    err << kUsage;
    return 2;
}

} // namespace vantric
