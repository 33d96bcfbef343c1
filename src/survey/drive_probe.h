// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The start-up scan of the letters C to Z and the probe of one drive.

#include "platform/form_state.h"

namespace vantric {

// Probes the letter in Text1 and describes it in lblDrive, lblSN, lblFree
// and lblTot; appends a row to List1 for a testable drive. Never throws.
void CheckDrive(FormState& form);

// Shows PleastWait, probes C to Z, takes the wait window down, shows the main window.
void surveyDrives(FormState& form);

} // namespace vantric
