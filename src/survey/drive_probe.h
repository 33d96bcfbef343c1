#pragma once
// The start-up scan of the letters C to Z and the probe of one drive.

#include "platform/drive_source.h"
#include "platform/form_state.h"
#include "platform/number_format.h"
#include "platform/window_system.h"

namespace vantric {

struct SurveyContext {
    WindowSystem& ws;
    DriveSource& drives;
    FormState& state;
    const NumericLocale& locale;
};

// Probes the letter in Text1 and describes it in lblDrive, lblSN, lblFree
// and lblTot; appends a row to List1 for a testable drive. Never throws.
void CheckDrive(SurveyContext& ctx);

// Shows PleastWait, probes C to Z, takes the wait window down, shows the main window.
void Form_Load(SurveyContext& ctx);

} // namespace vantric
