// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A window system in memory: controls are strings and lists, every show and hide is recorded.

#include "app/cli/headless_controls.h"

#include <functional>
#include <set>
#include <vector>

namespace vantric::test {

class MemoryWindowSystem : public HeadlessControls {
public:
    void showMain() override { log.push_back("showMain"); }
    void loadWait(WaitKind w) override
    {
        loadedWaits.insert(w);
        log.push_back(std::string("load ") + waitText(w).name);
    }
    void showWait(WaitKind w) override { log.push_back(std::string("show ") + waitText(w).name); }
    void unloadWait(WaitKind w) override
    {
        if (loadedWaits.erase(w))
            log.push_back(std::string("unload ") + waitText(w).name);
    }
    void doEvents() override { call("doEvents", onDoEvents); }
    void settleInput() override { call("settleInput", onSettleInput); }
    void messageBox(const std::string& caption, const std::string& text) override
    {
        messages.emplace_back(caption, text);
        call("messageBox", onMessageBox);
    }
    void errorBox(const std::string& text) override
    {
        errors.push_back(text);
        log.push_back("errorBox");
    }
    void endProgram() override
    {
        ended = true;
        log.push_back("end");
        throw ProgramEnd {};
    }

    // Run at each doEvents, as the events waiting there would be.
    std::function<void()> onDoEvents;
    // Run at settleInput, as the input made during a busy handler would be.
    std::function<void()> onSettleInput;
    std::function<void()> onMessageBox; // while the box is up

    std::vector<std::string> log;   // "load PleaseWaitWriting", "doEvents", ...
    std::set<WaitKind> loadedWaits;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<std::string> errors;
    bool ended = false;

private:
    void call(const char* name, const std::function<void()>& hook)
    {
        log.push_back(name);
        if (hook)
            hook();
    }
};

} // namespace vantric::test
