#include "app/console_window_system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <sstream>

namespace vantric {

ConsoleWindowSystem::ConsoleWindowSystem(std::ostream& err, bool progress) : err_(err), progress_(progress) {}

ConsoleWindowSystem::~ConsoleWindowSystem()
{
    stopProgress();
}

void ConsoleWindowSystem::showWait(WaitKind w)
{
    if (!progress_)
        return;
    stopProgress();
    ticking_ = true;
    // A line redrawn a few times a second while the pass runs; it costs the
    // pass a wake-up every 200 ms.
    ticker_ = std::thread([this, message = waitMessage(w)] {
        const auto start = std::chrono::steady_clock::now();
        const char spin[] = "|/-\\";
        for (int i = 0; ticking_; ++i) {
            double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::ostringstream line;
            line << '\r' << spin[i % 4] << ' ' << message << "  " << std::fixed << std::setprecision(1) << s
                 << " s\033[K";
            err_ << line.str() << std::flush;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        err_ << "\r\033[K" << std::flush;
    });
}

void ConsoleWindowSystem::unloadWait(WaitKind)
{
    stopProgress();
}

void ConsoleWindowSystem::stopProgress()
{
    ticking_ = false;
    if (ticker_.joinable())
        ticker_.join();
}

void ConsoleWindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    stopProgress();
    err_ << caption << ": " << text << '\n';
}

void ConsoleWindowSystem::errorBox(const std::string& text)
{
    stopProgress();
    ++errors_;
    err_ << text << '\n';
}

void ConsoleWindowSystem::endProgram()
{
    stopProgress();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace vantric
