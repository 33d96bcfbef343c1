#include "platform/termination.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vantric {

namespace {

enum Phase { kOff, kHold, kArmed };

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> g_phase {kOff};
std::atomic<int> g_held {0};
// Fixed storage: the handler may only read memory and make
// async-signal-safe calls.
char g_file[4096];
char g_folder[4096];
struct sigaction g_previous[3];

[[noreturn]] void cleanUpAndEnd(int sig)
{
    ::unlink(g_file);
    if (g_folder[0])
        ::rmdir(g_folder);
    ::_exit(128 + sig);
}

void onSignal(int sig)
{
    if (g_phase.load() == kArmed)
        cleanUpAndEnd(sig);
    g_held.store(sig);
}

void copyPath(char* to, const std::string& from)
{
    std::size_t n = from.size() < 4095 ? from.size() : 4095;
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

} // namespace

TerminationCleanup::TerminationCleanup()
{
    g_held.store(0);
    g_phase.store(kHold);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &sa, &g_previous[i]);
}

TerminationCleanup::~TerminationCleanup()
{
    g_phase.store(kOff);
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    if (int sig = g_held.load())
        ::_exit(128 + sig);
}

void TerminationCleanup::arm(const std::string& file, const std::string& folder)
{
    g_phase.store(kHold);
    copyPath(g_file, file);
    copyPath(g_folder, folder);
    g_phase.store(kArmed);
    if (int sig = g_held.load())
        cleanUpAndEnd(sig);
}

void TerminationCleanup::disarm()
{
    g_phase.store(kHold);
}

} // namespace vantric
