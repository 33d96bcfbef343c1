#pragma once
// The start-up scan of the letters C to Z and the probe of one drive.

#include "platform/drive_source.h"
#include "platform/number_format.h"
#include "platform/window_system.h"

#include <cstdint>

namespace vantric {

struct SurveyContext {
    WindowSystem& ws;
    DriveSource& drives;
    std::int32_t& lngIndex; // the main window's loop counter
    const NumericLocale& locale;
};

// Probes the letter in Text1 and describes it in lblDrive, lblSN, lblFree
// and lblTot; appends a row to List1 for a testable drive. Never throws.
void CheckDrive(SurveyContext& ctx);

// Shows PleastWait, probes C to Z, takes the wait window down, shows the main window.
void surveyDrives(SurveyContext& ctx);

} // namespace vantric
