#include "platform/stop_hook.h"
#include "platform/windows/scratch_claims.h"
#include "platform/windows/win_text.h"

#include <windows.h>

namespace vantric::stop {

namespace {

// Ctrl+C, Ctrl+Break, the console closed, a logoff or a shutdown.
BOOL WINAPI onStop(DWORD type)
{
    requested(static_cast<int>(type) + 1);
    // The system ends the process once a close or logoff handler returns:
    // give the run the moment it needs to arm (and clean up) or let go (and
    // end the process) on its own thread.
    ::Sleep(4000);
    return TRUE;
}

} // namespace

void catchRequests(bool on)
{
    ::SetConsoleCtrlHandler(onStop, on ? TRUE : FALSE);
}

// The file goes when the last handle on it closes, which the exit does.
void removeScratch(const char* file, const char* folder)
{
    deleteClaimed(file);
    if (folder)
        ::RemoveDirectoryW(wide(folder).c_str());
}

void endProcess(int)
{
    ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

} // namespace vantric::stop
