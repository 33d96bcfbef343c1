#include "platform/termination.h"
#include "platform/windows/scratch_claims.h"
#include "platform/windows/win_text.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace vantric {

namespace {

enum Phase { kOff, kHold, kArmed };

std::atomic<int> g_phase {kOff};
std::atomic<bool> g_held {false};
std::mutex g_pathsMutex;
std::string g_file;
std::string g_folder;

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

} // namespace

TerminationCleanup::TerminationCleanup()
{
    g_held.store(false);
    g_phase.store(kHold);
    ::SetConsoleCtrlHandler(onStop, TRUE);
}

TerminationCleanup::~TerminationCleanup()
{
    g_phase.store(kOff);
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
