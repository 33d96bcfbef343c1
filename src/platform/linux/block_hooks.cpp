// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/block_hooks.h"

#include "platform/linux/io_engines.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantric {

namespace {

void setDirect(int fd, bool on)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT));
}

class LinuxBlockHooks : public BlockHooks {
public:
    LinuxBlockHooks(UniqueFd fd, bool direct) : fd_(std::move(fd)), direct_(direct)
    {
        // The alignment direct transfers need on this file; O_DIRECT goes
        // where the file system accepted the flag but does no direct I/O.
        struct statx stx {};
        if (::statx(fd_.get(), "", AT_EMPTY_PATH, STATX_DIOALIGN, &stx) == 0 && (stx.stx_mask & STATX_DIOALIGN)) {
            if (stx.stx_dio_offset_align == 0) {
                if (direct_)
                    setDirect(fd_.get(), false);
                direct_ = false;
            } else {
                align_ = std::max<std::size_t>({512, stx.stx_dio_offset_align, stx.stx_dio_mem_align});
            }
        }
    }

    bool direct() const override { return direct_; }
    std::size_t alignment() const override { return align_; }

    std::unique_ptr<IoEngine> makeEngine(bool async, const BufferPool& pool) override
    {
        if (async)
            if (auto ring = makeUringEngine(fd_.get(), pool))
                return ring;
        return makeSyncEngine(fd_.get());
    }

    int leaveDirect() override
    {
        setDirect(fd_.get(), false);
        return 0;
    }

    int preallocate(std::uint64_t bytes) override
    {
        // fallocate itself, not posix_fallocate: where the file system cannot
        // reserve space, the latter writes zeros, which would be a pass of
        // its own.
        int r;
        do {
            r = ::fallocate(fd_.get(), 0, 0, static_cast<off_t>(bytes));
        } while (r != 0 && errno == EINTR);
        return r != 0 && errno != EOPNOTSUPP && errno != ENOSYS ? errno : 0;
    }

    int sync() override { return ::fdatasync(fd_.get()) != 0 ? errno : 0; }

    void dropCache() override { ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_DONTNEED); }

    int fileSize(std::uint64_t& bytes) override
    {
        struct stat st {};
        if (::fstat(fd_.get(), &st) != 0)
            return errno;
        bytes = static_cast<std::uint64_t>(st.st_size);
        return 0;
    }

    int close() override { return fd_.close(); }

    bool refusesDirect(int error) const override { return error == EINVAL; }
    int diskFull() const override { return ENOSPC; }
    VantricError error(const std::string& action, int code, const std::string& path) const override
    {
        return osError(action, code, path);
    }

private:
    UniqueFd fd_;
    bool direct_;
    std::size_t align_ = 4096;
};

} // namespace

std::unique_ptr<BlockHooks> blockHooks(UniqueFd fd, bool direct)
{
    return std::make_unique<LinuxBlockHooks>(std::move(fd), direct);
}

} // namespace vantric
