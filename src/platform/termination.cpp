// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/termination.h"

#include "platform/stop_hook.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace vantric {

namespace {

// kEnding: a request is removing the armed paths and ending the process.
enum Phase { kOff, kHold, kArmed, kEnding };

std::atomic<int> g_phase {kOff};
std::atomic<int> g_held {0};
// Fixed storage: a signal handler may only read memory and make
// async-signal-safe calls.
char g_file[4096];
char g_folder[4096];
StopHooks* g_hooks = nullptr;

void cleanUpAndEnd(int request)
{
    g_hooks->removeScratch(g_file, g_folder[0] ? g_folder : nullptr);
    g_hooks->endProcess(request);
}

// Where requests come on a thread of their own, one may be ending the
// process with the armed paths: those stay as they are until it has.
void enter(Phase to)
{
    int now = g_phase.load();
    for (;;) {
        if (now == kEnding) {
            std::this_thread::yield();
            now = g_phase.load();
        } else if (g_phase.compare_exchange_weak(now, to)) {
            return;
        }
    }
}

void copyPath(char* to, const std::string& from)
{
    std::size_t n = from.size() < 4095 ? from.size() : 4095;
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

} // namespace

void stop::requested(int request)
{
    int armed = kArmed;
    if (g_phase.compare_exchange_strong(armed, kEnding))
        cleanUpAndEnd(request);
    g_held.store(request);
}

// Cleanups alive: only the first catches the requests (saving what handled
// them before), only the last puts that back.
static int g_installed = 0;

TerminationCleanup::TerminationCleanup(StopHooks& hooks)
{
    g_held.store(0);
    g_phase.store(kHold);
    if (g_installed++ == 0) {
        g_hooks = &hooks;
        hooks.catchRequests(true);
    }
}

TerminationCleanup::~TerminationCleanup()
{
    enter(kOff);
    StopHooks& hooks = *g_hooks;
    if (--g_installed == 0)
        hooks.catchRequests(false);
    if (int request = g_held.load())
        hooks.endProcess(request);
}

void TerminationCleanup::arm(const std::string& file, const std::string& folder)
{
    enter(kHold);
    copyPath(g_file, file);
    copyPath(g_folder, folder);
    g_phase.store(kArmed);
    if (int request = g_held.load())
        stop::requested(request);
}

void TerminationCleanup::disarm()
{
    enter(kHold);
}

} // namespace vantric
