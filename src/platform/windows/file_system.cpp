// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/file_system.h"
#include "platform/windows/block_hooks.h"
#include "platform/windows/file_storage.h"
#include "platform/windows/private_folder.h"
#include "platform/windows/scratch_claims.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win_text.h"

#include <sddl.h>
#include <windows.h>

#include <atomic>
#include <mutex>

namespace vantric {

namespace {

const char* notRegularReason(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? "It is a link (a reparse point), not a regular file"
           : (attributes & FILE_ATTRIBUTE_DIRECTORY)   ? "It is a folder, not a regular file"
                                                       : "It is not a regular file";
}

bool irregular(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// A folder, a link or a device already at `path` is refused before the
// open, and checked again on the handle, which never follows a link.
void refuseIrregularAt(const std::string& path, const char* action)
{
    DWORD a = ::GetFileAttributesW(wide(path).c_str());
    if (a != INVALID_FILE_ATTRIBUTES && irregular(a))
        throw VantricError(action, notRegularReason(a), path);
}

void checkHandle(HANDLE h, const std::string& path, const char* action)
{
    FILE_ATTRIBUTE_TAG_INFO tag {};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag))
        throw winError(action, ::GetLastError(), path);
    const DWORD attributes = tag.FileAttributes | (tag.ReparseTag != 0 ? FILE_ATTRIBUTE_REPARSE_POINT : 0);
    if (irregular(attributes))
        throw VantricError(action, notRegularReason(attributes), path);
    if (::GetFileType(h) != FILE_TYPE_DISK)
        throw VantricError(action, "It is not a regular file", path);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileId idOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// Opens a regular file without following a link; unbuffered when `direct`
// and the file system allows it, overlapped when `overlapped`. With
// `claimed`, nothing is created and only that file is taken.
UniqueHandle openRegular(const std::string& path, DWORD access, DWORD creation, bool& direct, bool overlapped,
                         const char* action, std::optional<FileId> claimed)
{
    refuseIrregularAt(path, action);
    if (claimed)
        creation = OPEN_EXISTING;
    const std::wstring w = wide(path);
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | (overlapped ? FILE_FLAG_OVERLAPPED : 0);
    HANDLE h = INVALID_HANDLE_VALUE;
    if (direct) {
        h = ::CreateFileW(w.c_str(), access, kShareAll, nullptr, creation, flags | FILE_FLAG_NO_BUFFERING, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_INVALID_PARAMETER)
            direct = false;
    }
    if (h == INVALID_HANDLE_VALUE && !direct)
        h = ::CreateFileW(w.c_str(), access, kShareAll, nullptr, creation, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw winError(action, ::GetLastError(), path);
    UniqueHandle owned(h);
    checkHandle(h, path, action);
    BY_HANDLE_FILE_INFORMATION info {};
    if (claimed && (!::GetFileInformationByHandle(h, &info) || idOf(info) != *claimed))
        throw VantricError(action, kNameTaken, path);
    return owned;
}

class WinAtomicFile : public AtomicFile {
public:
    explicit WinAtomicFile(std::string path) : path_(std::move(path))
    {
        static std::atomic<unsigned> serial {0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            tmp_ = path_ + "." + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(serial++) + ".tmp";
            // DELETE: a stop request removes it through this handle.
            HANDLE h = ::CreateFileW(wide(tmp_).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                h_ = UniqueHandle(h);
                registerClaim(tmp_, h);
                return;
            }
            DWORD err = ::GetLastError();
            if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
                throw winError("Cannot create the file", err, path_);
        }
        throw winError("Cannot create the file", ERROR_FILE_EXISTS, path_);
    }

    ~WinAtomicFile() override
    {
        if (h_.valid()) {
            unregisterClaim(h_.get());
            h_.close();
            ::DeleteFileW(wide(tmp_).c_str());
        }
    }

    void write(const std::string& bytes) override
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD n = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            if (!::WriteFile(h_.get(), bytes.data() + done, chunk, &n, nullptr))
                throw winError("Cannot write to the file", ::GetLastError(), path_);
            if (n == 0)
                throw winError("Cannot write to the file", ERROR_DISK_FULL, path_);
            done += n;
        }
    }

    std::string pendingPath() const override { return tmp_; }

    void commit() override
    {
        if (!::FlushFileBuffers(h_.get()))
            throw winError("Cannot write to the file", ::GetLastError(), path_);
        unregisterClaim(h_.get());
        if (DWORD err = h_.close()) {
            ::DeleteFileW(wide(tmp_).c_str());
            throw winError("Cannot write to the file", err, path_);
        }
        if (!::MoveFileExW(wide(tmp_).c_str(), wide(path_).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD err = ::GetLastError();
            ::DeleteFileW(wide(tmp_).c_str());
            throw winError("Cannot save the file", err, path_);
        }
    }

private:
    std::string path_;
    std::string tmp_;
    UniqueHandle h_;
};

// The claim is a handle with DELETE access that shares reading and writing
// but not deleting: this run's own writer and reader get in, a second copy
// of the program (whose claim asks for DELETE) does not, and nobody else
// can delete the file under the run. It deletes the file when it closes,
// which the system does for a process that is killed. It is taken through
// the handle the checks looked at, so that a file refused is left alone.
class WinScratchClaim : public ScratchClaim {
public:
    explicit WinScratchClaim(std::string path) : path_(std::move(path))
    {
        const char* action = "Cannot create the scratch file";
        refuseIrregularAt(path_, action);
        HANDLE probe = ::CreateFileW(wide(path_).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            throw claimError(::GetLastError());
        UniqueHandle looked(probe);
        checkHandle(probe, path_, action);
        BY_HANDLE_FILE_INFORMATION info {};
        if (!::GetFileInformationByHandle(probe, &info))
            throw winError(action, ::GetLastError(), path_);
        if (info.nNumberOfLinks > 1)
            throw VantricError(action, "It has other links: another name shares its data", path_);
        id_ = idOf(info);
        HANDLE h = ::ReOpenFile(probe, GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT);
        if (h == INVALID_HANDLE_VALUE)
            throw claimError(::GetLastError());
        h_ = UniqueHandle(h);
        // Zeros must reach the drive, not a compressor.
        keepFromCompressing(h);
        registerClaim(path_, h);
    }

    ~WinScratchClaim() override
    {
        if (h_.valid())
            unregisterClaim(h_.get());
    }

    // Through the handle: whatever name the file has now, no other file goes.
    void remove() override
    {
        if (!markForDeletion(h_.get()))
            throw winError("Cannot delete the file", ::GetLastError(), path_);
        unregisterClaim(h_.get());
        h_.close();
    }

    // Through a writing handle of its own on the claimed file itself.
    void empty() override
    {
        HANDLE w = ::ReOpenFile(h_.get(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
        if (w == INVALID_HANDLE_VALUE)
            throw winError(kEmptying, ::GetLastError(), path_);
        UniqueHandle writer(w);
        FILE_END_OF_FILE_INFO end {};
        if (!::SetFileInformationByHandle(w, FileEndOfFileInfo, &end, sizeof end))
            throw winError(kEmptying, ::GetLastError(), path_);
    }

    FileId file() const override { return id_; }

private:
    VantricError claimError(DWORD err) const
    {
        const char* action = "Cannot create the scratch file";
        if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION)
            return VantricError(action, "Another test is using the file", path_, errnoFor(err));
        return winError(action, err, path_);
    }

    std::string path_;
    UniqueHandle h_;
    FileId id_;
};

class WinFileSystem : public FileSystem {
public:
    explicit WinFileSystem(IoOptions opt) : opt_(opt) {}

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed) override
    {
        bool direct = opt_.direct;
        UniqueHandle h = openRegular(path, GENERIC_WRITE, OPEN_ALWAYS, direct, opt_.async,
                                     "Cannot create the scratch file", claimed);
        return makeBlockWriter(blockHooks(std::move(h), direct, opt_.async, true, path), opt_, path);
    }

    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed) override
    {
        bool direct = opt_.direct;
        UniqueHandle h = openRegular(path, GENERIC_READ, OPEN_EXISTING, direct, opt_.async,
                                     "Cannot open the scratch file", claimed);
        return makeBlockReader(blockHooks(std::move(h), direct, opt_.async, false, path), opt_, path, wanted);
    }

    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override
    {
        return std::make_unique<WinScratchClaim>(path);
    }

    std::optional<std::string> makePrivateFolder(const std::string& base) override
    {
        const std::wstring sddl = privateFolderSddl();
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (sddl.empty()
            || !::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
            return std::nullopt;
        SECURITY_ATTRIBUTES sa {sizeof sa, sd, FALSE};
        std::optional<std::string> made;
        const std::string parent = base + (base.ends_with('\\') || base.ends_with('/') ? "" : "\\");
        static std::atomic<unsigned> serial {0};
        for (int attempt = 0; attempt < 100 && !made; ++attempt) {
            std::string folder = parent + "vantric-" + std::to_string(::GetCurrentProcessId()) + "-"
                                 + std::to_string(::GetTickCount64() % 100000) + std::to_string(serial++);
            if (::CreateDirectoryW(wide(folder).c_str(), &sa))
                made = folder;
            else if (::GetLastError() != ERROR_ALREADY_EXISTS)
                break;
        }
        ::LocalFree(sd);
        return made;
    }

    void removeFolder(const std::string& path) noexcept override { ::RemoveDirectoryW(wide(path).c_str()); }

    DriveSpace space(const std::string& folder) override
    {
        ULARGE_INTEGER avail {}, total {}, free {};
        if (!::GetDiskFreeSpaceExW(wide(folder).c_str(), &avail, &total, &free))
            throw winError("Cannot query the drive", ::GetLastError(), folder);
        return {avail.QuadPart, total.QuadPart};
    }

    std::optional<std::uint64_t> regularFileSize(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data {};
        if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
            DWORD err = ::GetLastError();
            if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
                return std::nullopt;
            throw winError(kSizeQuery, err, path);
        }
        if (irregular(data.dwFileAttributes))
            throw VantricError(kSizeQuery, notRegularReason(data.dwFileAttributes), path);
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

    StoredBytes storedBytes(const std::string& path, std::uint64_t written) override
    {
        return storedBytesOf(path, written);
    }

    std::unique_ptr<AtomicFile> createAtomic(const std::string& path) override
    {
        return std::make_unique<WinAtomicFile>(path);
    }

private:
    IoOptions opt_;
};

} // namespace

std::unique_ptr<FileSystem> systemFileSystem(IoOptions options)
{
    return std::make_unique<WinFileSystem>(options);
}

} // namespace vantric
