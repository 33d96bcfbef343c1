// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What each system does for TerminationCleanup: how stop requests reach
// the program, how the scratch file goes and how the process then ends.

namespace vantric {

class StopHooks {
public:
    virtual ~StopHooks() = default;
    // From now on (`on`) the system's stop requests call stop::requested();
    // off puts back what handled them before.
    virtual void catchRequests(bool on) = 0;
    // Deletes the file and the folder (when not null), with only calls a
    // signal handler may make.
    virtual void removeScratch(const char* file, const char* folder) = 0;
    [[noreturn]] virtual void endProcess(int request) = 0;
};

// This system's, defined in its folder.
class SystemStopHooks final : public StopHooks {
public:
    void catchRequests(bool on) override;
    void removeScratch(const char* file, const char* folder) override;
    [[noreturn]] void endProcess(int request) override;
};

StopHooks& systemStopHooks();

namespace stop {
// Called by the hooks on each request; `request` is not 0 (a signal number).
void requested(int request);
} // namespace stop

} // namespace vantric
