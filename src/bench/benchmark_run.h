// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// One benchmark run: write the scratch file two bytes at a time, read its
// first half back one byte at a time, delete it, and log the figures.

#include "platform/form_state.h"
#include "platform/termination.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vantric {

// What a run in progress owns on the drive: its claim on the scratch file,
// the private folder it made (if any) and the cleanup that removes both if
// the program is told to stop.
struct ScratchHold {
    std::unique_ptr<ScratchClaim> claim;
    std::string privateFolder;
    std::unique_ptr<TerminationCleanup> cleanup;
};

// What one pass moved and how long it took, unrounded (the first reading).
struct PassRecord {
    std::uint64_t bytes = 0;
    double seconds = 0;
    IoMode mode; // how the channel really moved the bytes
};

struct RunRecord {
    PassRecord write;
    PassRecord read;
    // How the file system held what the write pass wrote; unknown when it
    // could not be looked at.
    std::optional<StoredBytes> stored;
};

// What a run keeps beside the form's variables, from its start to its end
// or abandonment.
struct RunState {
    ScratchHold hold;
    // The figures of the last completed pass of each kind.
    RunRecord record;
};

inline constexpr const char* kScratchName = "~test.tmp";

// The run for the selected row of List1. On failure the scratch file is
// closed and deleted, the wait window taken down and the main window shown
// before the error goes on to the caller.
void runBenchmark(FormState& form, RunState& run);

// The two timed loops: lngCount two-byte zeros out, lngCount bytes in to
// bytBuffer (already sized), one value per step; lngIndex ends at
// lngCount + 1.
void writeLoop(WriteChannel& ch, FormVariables& st);
void readLoop(ReadChannel& ch, FormVariables& st);

// Closes the run's files and removes its own scratch file and private
// folder; for leaving the program in the middle of a run.
void abandonRun(FormState& form, RunState& run) noexcept;

} // namespace vantric
