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
int g_installed = 0; // cleanups alive: only the first saves what it found, only the last puts it back

// Dies of the signal itself, as shells, timeout and service managers
// expect of a program stopped by one (a loop around it stops on Ctrl+C).
[[noreturn]] void endBy(int sig)
{
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    ::raise(sig);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr); // inside the handler it was blocked
    ::_exit(128 + sig);
}

[[noreturn]] void cleanUpAndEnd(int sig)
{
    ::unlink(g_file);
    if (g_folder[0])
        ::rmdir(g_folder);
    endBy(sig);
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
    if (g_installed++ > 0)
        return;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i)
        ::sigaction(kSignals[i], &sa, &g_previous[i]);
}

TerminationCleanup::~TerminationCleanup()
{
    g_phase.store(kOff);
    if (--g_installed == 0)
        for (int i = 0; i < 3; ++i)
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
    if (int sig = g_held.load())
        endBy(sig);
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
