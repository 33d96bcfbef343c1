// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/block_hooks.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/linux/file_storage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vantric {

namespace {

const char* notRegularReason(mode_t mode)
{
    return S_ISLNK(mode)   ? "It is a symbolic link, not a regular file"
           : S_ISDIR(mode) ? "It is a folder, not a regular file"
                           : "It is not a regular file";
}

FileId idOf(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

struct OpenedFile {
    UniqueFd fd;
    bool direct; // O_DIRECT was granted
};

// Opens without following a link and refuses anything but a regular file,
// leaving such a thing untouched. Direct I/O when asked and granted. With
// `claimed`, nothing is created and only that file is taken.
OpenedFile openRegular(const std::string& path, int flags, bool direct, const char* action,
                       std::optional<FileId> claimed)
{
    if (claimed)
        flags &= ~O_CREAT;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw VantricError(action, notRegularReason(st.st_mode), path);
    int base = flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    int fd = -1;
    if (direct) {
        fd = ::open(path.c_str(), base | O_DIRECT, 0644);
        if (fd < 0 && errno == EINVAL)
            direct = false;
    }
    if (fd < 0 && !direct)
        fd = ::open(path.c_str(), base, 0644);
    if (fd < 0) {
        int e = errno;
        if (e == ELOOP)
            throw VantricError(action, notRegularReason(S_IFLNK), path);
        throw osError(action, e, path);
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw VantricError(action, "It is not a regular file", path);
    }
    if (claimed && idOf(st) != *claimed) {
        ::close(fd);
        throw VantricError(action, kNameTaken, path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {UniqueFd(fd), direct};
}

class LinuxAtomicFile : public AtomicFile {
public:
    explicit LinuxAtomicFile(std::string path) : path_(std::move(path))
    {
        tmp_ = path_ + ".XXXXXX";
        fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
        if (fd_ < 0)
            throw osError("Cannot create the file", errno, path_);
    }
    ~LinuxAtomicFile() override
    {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(tmp_.c_str());
        }
    }
    std::string pendingPath() const override { return tmp_; }

    void write(const std::string& bytes) override
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t r = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                throw osError("Cannot write to the file", errno, path_);
            }
            done += static_cast<std::size_t>(r);
        }
    }
    void commit() override
    {
        ::fchmod(fd_, 0644 & ~currentUmask());
        if (::fsync(fd_) != 0)
            throw osError("Cannot write to the file", errno, path_);
        if (::rename(tmp_.c_str(), path_.c_str()) != 0)
            throw osError("Cannot save the file", errno, path_);
        ::close(fd_);
        fd_ = -1;
    }

private:
    static mode_t currentUmask()
    {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }
    std::string path_;
    std::string tmp_;
    int fd_ = -1;
};

// Holds an open descriptor with an exclusive flock for the whole run, so a
// second copy of the program finds the file taken, even between the passes.
class LinuxScratchClaim : public ScratchClaim {
public:
    explicit LinuxScratchClaim(std::string path) : path_(std::move(path))
    {
        const char* action = "Cannot create the scratch file";
        struct stat st {};
        if (::lstat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            throw VantricError(action, notRegularReason(st.st_mode), path_);
        // Open for writing too: a file this user may not write is one he may
        // not create here, and the claim empties it before the write pass.
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
        if (fd_ < 0) {
            int e = errno;
            if (e == ELOOP)
                throw VantricError(action, notRegularReason(S_IFLNK), path_, e);
            throw osError(action, e, path_);
        }
        try {
            if (::fstat(fd_, &st) != 0)
                throw osError(action, errno, path_);
            if (!S_ISREG(st.st_mode))
                throw VantricError(action, notRegularReason(st.st_mode), path_);
            if (st.st_nlink > 1)
                throw VantricError(action, "It has other links: another name shares its data", path_);
            if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
                int e = errno;
                if (e == EWOULDBLOCK)
                    throw VantricError(action, "Another test is using the file", path_, e);
                throw osError(action, e, path_);
            }
            // Between the open and the lock the name may have been deleted or
            // given to another file; a lock on a file no one can find by its
            // name keeps no one out.
            struct stat now {};
            if (::lstat(path_.c_str(), &now) != 0)
                throw VantricError(action, "The file was deleted while the test was taking it", path_);
            if (idOf(now) != idOf(st))
                throw VantricError(action, kNameTaken, path_);
            id_ = idOf(st);
            // Zeros must reach the drive, not a compressor.
            keepFromCompressing(fd_);
        } catch (...) {
            ::close(fd_);
            throw;
        }
    }

    ~LinuxScratchClaim() override { ::close(fd_); }

    void remove() override
    {
        struct stat now {};
        if (::lstat(path_.c_str(), &now) != 0)
            throw osError("Cannot delete the file", errno, path_);
        if (idOf(now) != id_)
            throw VantricError("Cannot delete the file", kNameTaken, path_);
        if (::unlink(path_.c_str()) != 0)
            throw osError("Cannot delete the file", errno, path_);
    }

    void empty() override
    {
        if (::ftruncate(fd_, 0) != 0)
            throw osError(kEmptying, errno, path_);
    }

    FileId file() const override { return id_; }

private:
    std::string path_;
    int fd_ = -1;
    FileId id_;
};

class LinuxFileSystem : public FileSystem {
public:
    explicit LinuxFileSystem(IoOptions opt) : opt_(opt) {}

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed) override
    {
        OpenedFile f = openRegular(path, O_WRONLY | O_CREAT, opt_.direct, "Cannot create the scratch file", claimed);
        return makeBlockWriter(blockHooks(std::move(f.fd), f.direct), opt_, path);
    }

    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed) override
    {
        OpenedFile f = openRegular(path, O_RDONLY, opt_.direct, "Cannot open the scratch file", claimed);
        return makeBlockReader(blockHooks(std::move(f.fd), f.direct), opt_, path, wanted);
    }

    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override
    {
        return std::make_unique<LinuxScratchClaim>(path);
    }

    std::optional<std::string> makePrivateFolder(const std::string& base) override
    {
        std::string tmpl = base + (base.ends_with('/') ? "" : "/") + "vantric-XXXXXX";
        if (!::mkdtemp(tmpl.data()))
            return std::nullopt;
        return tmpl;
    }

    void removeFolder(const std::string& path) noexcept override { ::rmdir(path.c_str()); }

    DriveSpace space(const std::string& folder) override
    {
        struct statvfs st {};
        if (::statvfs(folder.c_str(), &st) != 0)
            throw osError("Cannot query the drive", errno, folder);
        return {static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize,
                static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize};
    }

    std::optional<std::uint64_t> regularFileSize(const std::string& path) override
    {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return std::nullopt;
            throw osError(kSizeQuery, errno, path);
        }
        if (!S_ISREG(st.st_mode))
            throw VantricError(kSizeQuery, notRegularReason(st.st_mode), path);
        return static_cast<std::uint64_t>(st.st_size);
    }

    StoredBytes storedBytes(const std::string& path, std::uint64_t written) override
    {
        return storedBytesOf(path, written);
    }

    std::unique_ptr<AtomicFile> createAtomic(const std::string& path) override
    {
        return std::make_unique<LinuxAtomicFile>(path);
    }

private:
    IoOptions opt_;
};

} // namespace

std::unique_ptr<FileSystem> systemFileSystem(IoOptions options)
{
    return std::make_unique<LinuxFileSystem>(options);
}

} // namespace vantric
