#include "platform/stop_hook.h"

#include <csignal>
#include <unistd.h>

namespace vantric::stop {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previous[3];

} // namespace

void catchRequests(bool on)
{
    struct sigaction sa {};
    sa.sa_handler = requested;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], on ? &sa : &g_previous[i], on ? &g_previous[i] : nullptr);
}

void removeScratch(const char* file, const char* folder)
{
    ::unlink(file);
    if (folder)
        ::rmdir(folder);
}

void endProcess(int request)
{
    ::_exit(128 + request);
}

} // namespace vantric::stop
