// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The access a run's private folder is made with.

#include <string>

namespace vantric {

// A protected access list (nothing inherited) that lets only the current
// user in, as SDDL; empty when the user's SID cannot be had.
std::wstring privateFolderSddl();

} // namespace vantric
