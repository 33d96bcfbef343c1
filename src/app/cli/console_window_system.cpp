// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/console_window_system.h"

#include "platform/number_format.h"

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
    ticking_ = true; // no lock: stopProgress() has joined the last ticker
    // A line redrawn a few times a second while the pass runs; it costs the
    // pass a wake-up every 200 ms.
    ticker_ = std::thread([this, message = std::string(waitText(w).message)] {
        const auto start = std::chrono::steady_clock::now();
        const char spin[] = "|/-\\";
        std::unique_lock lock(mutex_);
        for (int i = 0; ticking_; ++i) {
            double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::ostringstream line;
            line << '\r' << spin[i % 4] << ' ' << message << "  " << std::fixed << std::setprecision(1) << s
                 << " s\033[K";
            err_ << line.str() << std::flush;
            wake_.wait_for(lock, std::chrono::milliseconds(200), [this] { return !ticking_; });
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
    {
        std::lock_guard lock(mutex_);
        ticking_ = false;
    }
    wake_.notify_all();
    if (ticker_.joinable())
        ticker_.join();
}

void ConsoleWindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    stopProgress();
    err_ << caption << ": " << inUserCharset(text) << '\n';
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
