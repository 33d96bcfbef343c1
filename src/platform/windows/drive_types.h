// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// GetDriveTypeW's answers in the numbering of the scripting file-system
// object's DriveType.

#include <optional>

namespace vantric {

// nullopt for DRIVE_NO_ROOT_DIR: there is no drive.
std::optional<int> driveTypeCode(unsigned getDriveType);

} // namespace vantric
