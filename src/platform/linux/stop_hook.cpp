// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/stop_hook.h"

#include <csignal>
#include <unistd.h>

namespace vantric {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previous[3];

} // namespace

void SystemStopHooks::catchRequests(bool on)
{
    struct sigaction sa {};
    sa.sa_handler = stop::requested;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], on ? &sa : &g_previous[i], on ? &g_previous[i] : nullptr);
}

void SystemStopHooks::removeScratch(const char* file, const char* folder)
{
    ::unlink(file);
    if (folder)
        ::rmdir(folder);
}

// Dies of the signal itself, as shells, timeout and service managers
// expect of a program stopped by one (a loop around it stops on Ctrl+C).
void SystemStopHooks::endProcess(int request)
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(request, &dfl, nullptr);
    ::raise(request);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, request);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr); // inside the handler it was blocked
    ::_exit(128 + request);
}

StopHooks& systemStopHooks()
{
    static SystemStopHooks hooks;
    return hooks;
}

} // namespace vantric
