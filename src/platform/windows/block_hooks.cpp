// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/block_hooks.h"

#include "platform/windows/io_engines.h"
#include "platform/windows/win_text.h"

#include <algorithm>

namespace vantric {

std::size_t sectorAlignment(const std::string& path)
{
    std::size_t align = 4096;
    wchar_t volume[MAX_PATH + 1];
    DWORD perCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (::GetVolumePathNameW(wide(path).c_str(), volume, MAX_PATH + 1)
        && ::GetDiskFreeSpaceW(volume, &perCluster, &bytesPerSector, &freeClusters, &clusters))
        align = std::max<std::size_t>(align, bytesPerSector);
    return align;
}

namespace {

DWORD lastErrorIfNot(BOOL ok)
{
    return ok ? 0 : ::GetLastError();
}

// Transfers go to `current_`: the handle the file was opened with, or,
// once they cannot go unbuffered, a buffered one on the same file.
class WinBlockHooks : public BlockHooks {
public:
    WinBlockHooks(UniqueHandle h, bool direct, bool overlapped, bool writer, const std::string& path)
        : h_(std::move(h)),
          current_(h_.get()),
          direct_(direct),
          overlapped_(overlapped),
          writer_(writer),
          align_(sectorAlignment(path))
    {
    }

    bool direct() const override { return direct_; }
    std::size_t alignment() const override { return align_; }

    std::unique_ptr<IoEngine> makeEngine(bool async, const BufferPool& pool) override
    {
        if (async && overlapped_)
            return makeOverlappedEngine(current_, pool.count());
        return makeSyncEngine(current_);
    }

    int leaveDirect() override
    {
        if (!cached_.valid()) {
            HANDLE h = ::ReOpenFile(h_.get(), writer_ ? GENERIC_WRITE : GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    FILE_FLAG_OPEN_REPARSE_POINT | (overlapped_ ? FILE_FLAG_OVERLAPPED : 0));
            if (h == INVALID_HANDLE_VALUE)
                return static_cast<int>(::GetLastError());
            cached_ = UniqueHandle(h);
        }
        current_ = cached_.get();
        return 0;
    }

    // The file is made at least this long, as fallocate does on Linux, so
    // that the writes land inside it.
    int preallocate(std::uint64_t bytes) override
    {
        LARGE_INTEGER size {};
        if (!::GetFileSizeEx(h_.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) >= bytes)
            return 0;
        FILE_END_OF_FILE_INFO eof {};
        eof.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes);
        DWORD err = lastErrorIfNot(::SetFileInformationByHandle(h_.get(), FileEndOfFileInfo, &eof, sizeof eof));
        if (err == ERROR_INVALID_FUNCTION || err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_PARAMETER)
            return 0;
        return static_cast<int>(err);
    }

    // The device's own cache too: the pass ends with the bytes on the drive.
    int sync() override
    {
        if (cached_.valid())
            if (DWORD err = lastErrorIfNot(::FlushFileBuffers(cached_.get())))
                return static_cast<int>(err);
        return static_cast<int>(lastErrorIfNot(::FlushFileBuffers(h_.get())));
    }

    // An unbuffered open leaves nothing of the file in the cache.
    void dropCache() override {}

    int fileSize(std::uint64_t& bytes) override
    {
        LARGE_INTEGER size {};
        if (!::GetFileSizeEx(h_.get(), &size))
            return static_cast<int>(::GetLastError());
        bytes = static_cast<std::uint64_t>(size.QuadPart);
        return 0;
    }

    int close() override
    {
        int a = cached_.close();
        int b = h_.close();
        return b ? b : a;
    }

    bool refusesDirect(int error) const override { return error == static_cast<int>(ERROR_INVALID_PARAMETER); }
    int diskFull() const override { return static_cast<int>(ERROR_DISK_FULL); }
    VantricError error(const std::string& action, int code, const std::string& path) const override
    {
        return winError(action, static_cast<DWORD>(code), path);
    }

private:
    UniqueHandle h_;
    UniqueHandle cached_;
    HANDLE current_;
    bool direct_;
    bool overlapped_;
    bool writer_;
    std::size_t align_;
};

} // namespace

std::unique_ptr<BlockHooks> blockHooks(UniqueHandle h, bool direct, bool overlapped, bool writer,
                                       const std::string& path)
{
    return std::make_unique<WinBlockHooks>(std::move(h), direct, overlapped, writer, path);
}

} // namespace vantric
