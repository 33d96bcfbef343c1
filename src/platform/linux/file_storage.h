// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// How a file's bytes sit on the drive: kept from compressing before they are
// written, and looked at afterwards.

#include "platform/file_system.h"

#include <cstdint>
#include <string>

namespace vantric {

// Before the first byte: turns copy-on-write off, which on btrfs also turns
// compression off, even under compress-force; btrfs grants that only while
// the file is empty. For a file that already holds bytes it asks for no
// compression instead. File systems without these attributes are left as
// they are.
void keepFromCompressing(int fd);

// The file's extents over its first `written` bytes (FIEMAP, after a flush);
// st_blocks where the file system maps no extents.
StoredBytes storedBytesOf(const std::string& path, std::uint64_t written);

} // namespace vantric
