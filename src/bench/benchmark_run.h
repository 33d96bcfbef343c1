#pragma once
// One benchmark run: write the scratch file two bytes at a time, read its
// first half back one byte at a time, delete it, and log the figures.

#include "platform/drive_source.h"
#include "platform/file_table.h"
#include "platform/form_state.h"
#include "platform/number_format.h"
#include "platform/perf_counter.h"
#include "platform/window_system.h"

namespace vantric {

struct RunContext {
    WindowSystem& ws;
    FormState& state;
    FileTable& files;
    DriveSource& drives;
    PerfCounter& counter;
    const NumericLocale& locale;
};

inline constexpr const char* kScratchName = "~test.tmp";

// The run for the selected row of List1. On failure the scratch file is
// closed and deleted, the wait window taken down and the main window shown
// before the error goes on to the caller.
void List1_Click(RunContext& ctx);

// The two timed loops: lngCount two-byte zeros out, lngCount bytes in to
// bytBuffer (already sized), one value per step; lngIndex ends at
// lngCount + 1.
void writeLoop(WriteChannel& ch, FormState& st);
void readLoop(ReadChannel& ch, FormState& st);

// Closes the run's files and removes its scratch file; for leaving the
// program in the middle of a run.
void abandonRun(RunContext& ctx) noexcept;

} // namespace vantric
