// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The main window's logic: its state, its event handlers and the way an
// untrapped error is reported. The widgets are elsewhere; this class sees
// them through the WindowSystem.

#include "bench/benchmark_run.h"
#include "platform/form_state.h"

namespace vantric {

class frmDrive {
public:
    frmDrive(WindowSystem& ws, Services services);
    // Not copied: the handlers wire() gives the window point at this one.
    frmDrive(const frmDrive&) = delete;
    frmDrive& operator=(const frmDrive&) = delete;

    // Event handlers: each reports its own untrapped error and returns.
    void Form_Load();
    void List1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // The window is being closed: the program ends, removing a running test's file.
    void Form_Closed();

    // Sends the window system's events to the handlers above.
    void wire(FormEvents& events);

    // The unrounded figures of the last run, for reports beyond the window.
    const RunRecord& lastRun() const { return run_.record; }

private:
    template <typename F> void dispatch(F&& handler);
    template <typename F> void idleOnly(F&& handler);

    FormState form_;
    RunState run_;

    // Set for the whole of a run: no second run, save or size step may
    // start while it is, at the run's event-processing points.
    bool runInProgress_ = false;
};

} // namespace vantric
