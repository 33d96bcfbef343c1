// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A run's figures in the Prometheus text exposition format, for the node
// exporter's textfile collector.

#include "bench/benchmark_run.h"

#include <optional>
#include <string>

namespace vantric {

struct RunMetrics {
    std::string mountPoint;
    std::string fsType;
    std::string size; // the size caption
    // The folder tested, empty for a drive letter: timers for two folders
    // of one file system must not give the same series.
    std::string folder;
    // Only for a run that succeeded: a failed one reports success 0 alone.
    std::optional<RunRecord> record;
    double endedAt = 0; // seconds since the Unix epoch
};

std::string prometheusText(const RunMetrics& m);

// The shortest decimal text that reads back as v, as JSON and Prometheus both take it.
std::string shortestText(double v);

} // namespace vantric
