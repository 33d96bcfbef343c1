// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A run's scratch file must not outlive the run, even when the program is
// told to stop (a logout, a shutdown, Ctrl+C). While a TerminationCleanup
// lives, SIGTERM, SIGINT and SIGHUP remove the armed file and folder, then
// end the process by that signal.

#include "platform/stop_hook.h"

#include <string>

namespace vantric {

class TerminationCleanup {
public:
    // Installs the handlers. A signal that comes before arm() is held, so
    // that a file being claimed is either cleaned up or never touched.
    explicit TerminationCleanup(StopHooks& hooks);
    // Restores the previous handlers; a held signal then ends the process.
    ~TerminationCleanup();
    TerminationCleanup(const TerminationCleanup&) = delete;
    TerminationCleanup& operator=(const TerminationCleanup&) = delete;

    // The file (and, if not empty, the folder) now belong to the run.
    void arm(const std::string& file, const std::string& folder);
    // They are gone or no longer ours: hold signals again.
    void disarm();
};

} // namespace vantric
