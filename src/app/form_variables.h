#pragma once
// The main window's form-level variables, which its handlers lend to the
// survey, the run and the save.

#include "bench/benchmark_run.h"
#include "ui/log_save.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantric {

struct FormVariables {
    std::int32_t lngCount = 0;
    std::int32_t lngIndex = 0;
    std::int16_t intFileNum = 0;
    std::string strFileName;
    std::vector<std::uint8_t> bytBuffer;

    operator RunVariables() { return {lngCount, lngIndex, intFileNum, strFileName, bytBuffer}; }
    operator LogVariables() { return {strFileName, intFileNum, lngIndex}; }
};

} // namespace vantric
