#pragma once
// GetDriveTypeW's answers in the numbering of the scripting file-system
// object's DriveType.

#include <optional>

namespace vantric {

// nullopt for DRIVE_NO_ROOT_DIR: there is no drive.
std::optional<int> driveTypeCode(unsigned getDriveType);

} // namespace vantric
