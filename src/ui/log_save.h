// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Saving the results log to "Vantric_Log_" + yymmddhhmm + ".txt" in the
// program's folder.

#include "platform/form_state.h"

#include <string>

namespace vantric {

// Ten digits: year in century, month, day, hour (0-23), minute.
std::string logTimestamp(const LocalDateTime& t);

// Writes every row of List2 to the log file and confirms in a message box.
void saveLog(FormState& form);

} // namespace vantric
