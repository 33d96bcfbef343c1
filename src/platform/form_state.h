#pragma once
// Form-level variables of the main window, shared by the survey, the run
// and the log save.

#include <cstdint>
#include <string>
#include <vector>

namespace vantric {

struct FormState {
    std::int32_t lngCount = 0;
    std::int32_t lngIndex = 0;
    std::int16_t intFileNum = 0;
    std::string strFileName;
    std::vector<std::uint8_t> bytBuffer;

    // Set for the whole of a benchmark run: clicks that reach the window at
    // the run's event-processing points are ignored while it is set.
    bool runInProgress = false;
};

} // namespace vantric
