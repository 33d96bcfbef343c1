#pragma once
// Saving the results log to "Vantric_Log_" + yymmddhhmm + ".txt" in the
// program's folder.

#include "platform/clock.h"
#include "platform/io/file_table.h"
#include "platform/window_system.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vantric {

// The main window's variables a save works on.
struct LogVariables {
    std::string& strFileName;
    std::int16_t& intFileNum;
    std::int32_t& lngIndex;
};

struct LogContext {
    WindowSystem& ws;
    LogVariables vars;
    FileTable& files;
    Clock& clock;
    std::string folder;         // the program's folder
    std::optional<std::string> fallbackFolder; // where the log goes when that folder may not be written
};

// Ten digits: year in century, month, day, hour (0-23), minute.
std::string logTimestamp(const LocalDateTime& t);

// Writes every row of List2 to the log file and confirms in a message box.
void saveLog(LogContext& ctx);

} // namespace vantric
