// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The main window's state as the survey, the run and the save see it: its
// window, the system's services, the files it has open and its form-level
// variables. frmDrive owns the one instance and lends it to each of them.

#include "platform/clock.h"
#include "platform/drive_source.h"
#include "platform/file_system.h"
#include "platform/io/file_table.h"
#include "platform/number_format.h"
#include "platform/perf_counter.h"
#include "platform/stop_hook.h"
#include "platform/window_system.h"

#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

struct Services {
    DriveSource& drives;
    FileSystem& fs;
    PerfCounter& counter;
    Clock& clock;
    StopHooks& stops; // how a run's scratch file goes when the program is stopped
    NumericLocale locale;
    std::string programFolder;
    std::optional<std::string> documentsFolder; // for the log when the program's folder may not be written
    std::pmr::memory_resource* memory = std::pmr::get_default_resource(); // where the read buffer comes from
    TextCharset savedText = nullptr; // the saved log's charset: the user's, where the system has one
};

struct FormVariables {
    FormVariables() = default;
    explicit FormVariables(std::pmr::memory_resource* memory) : bytBuffer(memory) {}

    std::int32_t lngCount = 0;
    std::int32_t lngIndex = 0; // the one loop counter: the survey's letters, the passes, the save's rows
    std::int16_t intFileNum = 0;
    std::string strFileName;
    std::pmr::vector<std::uint8_t> bytBuffer;
};

struct FormState {
    FormState(WindowSystem& window, Services services)
        : ws(window), svc(std::move(services)), files(svc.fs, svc.savedText), vars(svc.memory)
    {
    }
    FormState(const FormState&) = delete;
    FormState& operator=(const FormState&) = delete;

    WindowSystem& ws;
    Services svc;
    FileTable files; // the files open by number
    FormVariables vars;
};

} // namespace vantric
