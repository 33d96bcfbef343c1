// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/file_storage.h"

#include "platform/errors.h"
#include "platform/linux/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantric {

namespace {

// The kernel reads and writes an int here, whatever the ioctl's name says.
std::optional<int> fileFlags(int fd)
{
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0)
        return std::nullopt;
    return flags;
}

bool setFileFlags(int fd, int flags)
{
    return ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
}

// nullopt where the file system maps no extents (tmpfs, ZFS, many FUSE).
std::optional<StoredBytes> mappedExtents(int fd, std::uint64_t written, const std::string& path)
{
    constexpr unsigned kExtents = 128;
    std::vector<std::uint64_t> buf((sizeof(fiemap) + kExtents * sizeof(fiemap_extent)) / 8 + 1);
    std::uint64_t start = 0, plain = 0;
    bool first = true;
    while (start < written) {
        std::fill(buf.begin(), buf.end(), 0);
        auto* fm = reinterpret_cast<fiemap*>(buf.data());
        fm->fm_start = start;
        fm->fm_length = written - start;
        // The first call writes back what is still cached, so that what is
        // mapped is what the drive holds.
        fm->fm_flags = first ? FIEMAP_FLAG_SYNC : 0;
        fm->fm_extent_count = kExtents;
        if (::ioctl(fd, FS_IOC_FIEMAP, fm) != 0) {
            if (first && (errno == EOPNOTSUPP || errno == ENOTTY || errno == ENOSYS))
                return std::nullopt;
            throw osError("Cannot examine the file", errno, path);
        }
        first = false;
        if (fm->fm_mapped_extents == 0)
            break;
        bool last = false;
        for (unsigned i = 0; i < fm->fm_mapped_extents; ++i) {
            const fiemap_extent& e = fm->fm_extents[i];
            const std::uint64_t lo = std::max<std::uint64_t>(e.fe_logical, start);
            const std::uint64_t hi = std::min<std::uint64_t>(e.fe_logical + e.fe_length, written);
            // Compressed extents, and room reserved but never written, hold
            // less than was written.
            if (hi > lo && !(e.fe_flags & (FIEMAP_EXTENT_ENCODED | FIEMAP_EXTENT_UNWRITTEN)))
                plain += hi - lo;
            start = std::max<std::uint64_t>(start, e.fe_logical + e.fe_length);
            last = last || (e.fe_flags & FIEMAP_EXTENT_LAST);
        }
        if (last)
            break;
    }
    // What no extent covers is a hole: zeros the file system did not store.
    return storedOf(plain, written);
}

} // namespace

void keepFromCompressing(int fd)
{
    const std::optional<int> flags = fileFlags(fd);
    if (!flags || (*flags & FS_NOCOW_FL))
        return;
    // Refused: the file system has no such attribute (ext4, xfs, tmpfs).
    if (!setFileFlags(fd, (*flags | FS_NOCOW_FL) & ~FS_COMPR_FL))
        return;
    // btrfs takes it only while the file has no extents and otherwise
    // ignores it without an error; hence the second look.
    if (fileFlags(fd).value_or(0) & FS_NOCOW_FL)
        return;
    // Bytes already there stay copy-on-write; no-compress holds at least
    // where compression is not forced. The look after the write pass tells.
    setFileFlags(fd, (*flags | FS_NOCOMP_FL) & ~FS_COMPR_FL);
}

StoredBytes storedBytesOf(const std::string& path, std::uint64_t written)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd)
        throw osError("Cannot examine the file", errno, path);
    if (written == 0)
        return {};
    if (auto m = mappedExtents(fd.get(), written, path))
        return *m;
    // Without extents the allocated blocks tell; some file systems (ZFS)
    // count them only once the pending transaction is on the drive.
    ::syncfs(fd.get());
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw osError("Cannot examine the file", errno, path);
    return storedOf(static_cast<std::uint64_t>(st.st_blocks) * 512, written);
}

} // namespace vantric
