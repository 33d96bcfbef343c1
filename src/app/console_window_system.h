#pragma once
// The window system of the command without a window: controls kept in
// memory, wait windows shown as a progress line on a terminal, message
// boxes written to the error stream.

#include "platform/control_store.h"
#include "platform/window_system.h"

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

namespace vantric {

class ConsoleWindowSystem : public WindowSystem {
public:
    // progress: draw a progress line on `err` while a wait window is up
    // (only when it is a terminal).
    ConsoleWindowSystem(std::ostream& err, bool progress);
    ~ConsoleWindowSystem() override;

    std::string caption(Ctl c) const override { return controls_.caption(c); }
    void setCaption(Ctl c, const std::string& text) override { controls_.setCaption(c, text); }
    void addRow(Ctl list, const std::string& row) override { controls_.addRow(list, row); }
    std::string selectedRow(Ctl list) const override { return controls_.selectedRow(list); }
    int rowCount(Ctl list) const override { return controls_.rowCount(list); }
    void selectRow(Ctl list, int index) override { controls_.selectRow(list, index); }
    void setVisible(Ctl c, bool visible) override { controls_.setVisible(c, visible); }
    bool isVisible(Ctl c) const override { return controls_.isVisible(c); }
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

    const std::vector<std::string>& rows(Ctl list) const { return controls_.rows(list); }
    // How many errors were reported so far.
    int errors() const { return errors_; }

private:
    void stopProgress();

    ControlStore controls_;
    std::ostream& err_;
    bool progress_;
    int errors_ = 0;
    std::thread ticker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ticking_ = false;
};

} // namespace vantric
