// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What each system does for TerminationCleanup: how stop requests reach
// the program, how the scratch file goes and how the process then ends.

namespace vantric::stop {

// From now on (`on`) the system's stop requests call requested(); off puts
// back what handled them before.
void catchRequests(bool on);
// Deletes the file and the folder (when not null), with only calls a
// signal handler may make.
void removeScratch(const char* file, const char* folder);
[[noreturn]] void endProcess(int request);

// Called by the hook on each request; `request` is not 0 (a signal number).
void requested(int request);

} // namespace vantric::stop
