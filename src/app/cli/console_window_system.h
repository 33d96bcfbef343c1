// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The window system of the command without a window: controls kept in
// memory, wait windows shown as a progress line on a terminal, message
// boxes written to the error stream.

#include "app/cli/headless_controls.h"

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

namespace vantric {

class ConsoleWindowSystem : public HeadlessControls {
public:
    // progress: draw a progress line on `err` while a wait window is up
    // (only when it is a terminal).
    ConsoleWindowSystem(std::ostream& err, bool progress);
    ~ConsoleWindowSystem() override;

    void showMain() override {}
    void loadWait(WaitKind) override {}
    void showWait(WaitKind w) override;
    void unloadWait(WaitKind w) override;
    // No input reaches a command while it runs.
    void doEvents() override {}
    void settleInput() override {}
    void messageBox(const std::string& caption, const std::string& text) override;
    void errorBox(const std::string& text) override;
    [[noreturn]] void endProgram() override;

    // How many errors were reported so far.
    int errors() const { return errors_; }

private:
    void stopProgress();

    std::ostream& err_;
    bool progress_;
    int errors_ = 0;
    std::thread ticker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ticking_ = false;
};

} // namespace vantric
