#pragma once
// Saving the results log to "Vantric_Log_" + yymmddhhmm + ".txt" in the
// program's folder.

#include "platform/clock.h"
#include "platform/file_table.h"
#include "platform/form_state.h"
#include "platform/window_system.h"

#include <string>

namespace vantric {

struct LogContext {
    WindowSystem& ws;
    FormState& state;
    FileTable& files;
    Clock& clock;
    std::string folder;         // the program's folder
    std::string fallbackFolder; // where the log goes when that folder may not be written
};

// Ten digits: year in century, month, day, hour (0-23), minute.
std::string logTimestamp(const LocalDateTime& t);

void Command4_Click(LogContext& ctx);

} // namespace vantric
