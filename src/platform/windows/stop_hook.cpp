// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/stop_hook.h"
#include "platform/windows/scratch_claims.h"
#include "platform/windows/session_watch.h"
#include "platform/windows/win_text.h"

#include <windows.h>

#include <memory>

namespace vantric {

namespace {

// Ctrl+C, Ctrl+Break, the console closed, a logoff or a shutdown.
BOOL WINAPI onStop(DWORD type)
{
    stop::requested(static_cast<int>(type) + 1);
    // The system ends the process once a close or logoff handler returns:
    // give the run the moment it needs to arm (and clean up) or let go (and
    // end the process) on its own thread.
    ::Sleep(4000);
    return TRUE;
}

std::unique_ptr<SessionWatch> g_session;

void onSessionEnd()
{
    onStop(CTRL_LOGOFF_EVENT);
}

// Console events reach only a program that has a console; a windowed one
// hears of a session's end through a window.
bool hasConsole()
{
    return ::GetConsoleWindow() != nullptr;
}

} // namespace

void SystemStopHooks::catchRequests(bool on)
{
    if (hasConsole())
        ::SetConsoleCtrlHandler(onStop, on ? TRUE : FALSE);
    if (on)
        g_session = std::make_unique<SessionWatch>(onSessionEnd);
    else
        g_session.reset();
}

// The file goes when the last handle on it closes, which the exit does.
void SystemStopHooks::removeScratch(const char* file, const char* folder)
{
    deleteClaimed(file);
    if (folder)
        ::RemoveDirectoryW(wide(folder).c_str());
}

void SystemStopHooks::endProcess(int)
{
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

StopHooks& systemStopHooks()
{
    static SystemStopHooks hooks;
    return hooks;
}

} // namespace vantric
