#pragma once
// The main window's logic: its state, its event handlers and the way an
// untrapped error is reported. The widgets are elsewhere; this class sees
// them through the WindowSystem.

#include "app/form_variables.h"
#include "bench/benchmark_run.h"
#include "platform/clock.h"
#include "platform/drive_source.h"
#include "platform/file_system.h"
#include "platform/io/file_table.h"
#include "platform/number_format.h"
#include "platform/perf_counter.h"
#include "platform/window_system.h"
#include "survey/drive_probe.h"
#include "ui/log_save.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

struct Services {
    DriveSource& drives;
    FileSystem& fs;
    PerfCounter& counter;
    Clock& clock;
    NumericLocale locale;
    std::string programFolder;
    std::optional<std::string> documentsFolder; // for the log when the program's folder may not be written
};

class frmDrive {
public:
    frmDrive(WindowSystem& ws, Services services);

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

    WindowSystem& ws_;
    Services svc_;

    FormVariables vars_;

    // Set for the whole of a run: no second run, save or size step may
    // start while it is, at the run's event-processing points.
    bool runInProgress_ = false;

    FileTable files_;
    SurveyContext survey_;
    RunContext run_;
    LogContext log_;
};

} // namespace vantric
