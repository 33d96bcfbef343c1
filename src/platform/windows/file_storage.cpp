// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/file_storage.h"

#include "platform/windows/unique_handle.h"
#include "platform/windows/win_text.h"

#include <winioctl.h>

namespace vantric {

void keepFromCompressing(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (!::GetFileInformationByHandle(h, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_COMPRESSED))
        return;
    // The claim's own handle may not write; a handle to the same file that
    // may, sharing everything the claim holds.
    UniqueHandle rw(::ReOpenFile(h, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 FILE_FLAG_OPEN_REPARSE_POINT));
    if (!rw.valid())
        return;
    USHORT format = COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    // Best effort: where it fails the look after the write pass tells.
    ::DeviceIoControl(rw.get(), FSCTL_SET_COMPRESSION, &format, sizeof format, nullptr, 0, &returned, nullptr);
}

StoredBytes storedBytesOf(const std::string& path, std::uint64_t written)
{
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetCompressedFileSizeW(wide(path).c_str(), &high);
    if (low == INVALID_FILE_SIZE) {
        if (DWORD err = ::GetLastError(); err != NO_ERROR)
            throw winError("Cannot examine the file", err, path);
    }
    return storedOf((static_cast<std::uint64_t>(high) << 32) | low, written);
}

} // namespace vantric
