#include "platform/termination.h"
#include "platform/windows/scratch_claims.h"
#include "platform/windows/session_watch.h"
#include "platform/windows/win_text.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>

namespace vantric {

namespace {

enum Phase { kOff, kHold, kArmed };

std::atomic<int> g_phase {kOff};
std::atomic<bool> g_held {false};
std::mutex g_pathsMutex;
std::string g_file;
std::string g_folder;
std::unique_ptr<SessionWatch> g_session;

// The file goes when the last handle on it closes, which the exit does.
[[noreturn]] void cleanUpAndEnd()
{
    {
        std::lock_guard lock(g_pathsMutex);
        deleteClaimed(g_file);
        if (!g_folder.empty())
            ::RemoveDirectoryW(wide(g_folder).c_str());
    }
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

// Ctrl+C, Ctrl+Break, the console closed, a logoff or a shutdown.
BOOL WINAPI onStop(DWORD)
{
    if (g_phase.load() == kArmed)
        cleanUpAndEnd();
    g_held.store(true);
    // The system ends the process once a close or logoff handler returns:
    // give the run the moment it needs to arm (and clean up) or let go (and
    // end the process) on its own thread.
    ::Sleep(4000);
    return TRUE;
}

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

TerminationCleanup::TerminationCleanup()
{
    g_held.store(false);
    g_phase.store(kHold);
    if (hasConsole())
        ::SetConsoleCtrlHandler(onStop, TRUE);
    g_session = std::make_unique<SessionWatch>(onSessionEnd);
}

TerminationCleanup::~TerminationCleanup()
{
    g_phase.store(kOff);
    g_session.reset();
    if (hasConsole())
        ::SetConsoleCtrlHandler(onStop, FALSE);
    if (g_held.load())
        ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

void TerminationCleanup::arm(const std::string& file, const std::string& folder)
{
    g_phase.store(kHold);
    {
        std::lock_guard lock(g_pathsMutex);
        g_file = file;
        g_folder = folder;
    }
    g_phase.store(kArmed);
    if (g_held.load())
        cleanUpAndEnd();
}

void TerminationCleanup::disarm()
{
    g_phase.store(kHold);
}

} // namespace vantric
