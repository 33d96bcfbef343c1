// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// How a file's bytes sit on the drive: kept from compressing before they are
// written, and looked at afterwards.

#include "platform/file_system.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace vantric {

// A file made in a compressed folder inherits NTFS compression; it is turned
// off before the first byte.
void keepFromCompressing(HANDLE h);

// What the file system allocates for the file (GetCompressedFileSizeW: the
// compressed size of a compressed file, the allocated part of a sparse one)
// against the `written` bytes.
StoredBytes storedBytesOf(const std::string& path, std::uint64_t written);

} // namespace vantric
