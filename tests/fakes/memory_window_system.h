#pragma once
// An in-memory window system: controls are plain strings and lists, and
// every call that shows or hides something is recorded, so the logic can be
// checked without a display.

#include "app/cli/headless_controls.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace vantric::test {

class MemoryWindowSystem : public HeadlessControls {
public:
    void showMain() override;
    void loadWait(WaitKind w) override;
    void showWait(WaitKind w) override;
    void unloadWait(WaitKind w) override;
    void doEvents() override;
    void settleInput() override;
    void messageBox(const std::string& caption, const std::string& text) override;
    void errorBox(const std::string& text) override;
    void endProgram() override; // records, then throws ProgramEnd

    // Run at each doEvents, as the events waiting there would be.
    std::function<void()> onDoEvents;
    // Run at settleInput, as the input made during a busy handler would be.
    std::function<void()> onSettleInput;

    std::vector<std::string> log;   // "load PleaseWaitWriting", "doEvents", ...
    std::set<WaitKind> loadedWaits;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<std::string> errors;
    bool ended = false;
};

} // namespace vantric::test
