#include "platform/errors.h"
#include "platform/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

#ifdef VANTRIC_HAVE_URING
#include <liburing.h>
#endif

namespace vantric {

namespace {

IoModeReport g_lastMode;

struct AlignedBuffer {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
    AlignedBuffer(std::size_t align, std::size_t n) : size(n)
    {
        void* p = nullptr;
        if (posix_memalign(&p, align, n) != 0)
            throw VantricError("Out of memory", "Cannot allocate a file buffer");
        data = static_cast<std::uint8_t*>(p);
    }
    ~AlignedBuffer() { std::free(data); }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
};

std::size_t directAlignment(int fd, bool& supported)
{
    supported = true;
#ifdef STATX_DIOALIGN
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_DIOALIGN, &stx) == 0 && (stx.stx_mask & STATX_DIOALIGN)) {
        if (stx.stx_dio_offset_align == 0) {
            supported = false;
            return 4096;
        }
        std::size_t a = stx.stx_dio_offset_align;
        if (stx.stx_dio_mem_align > a)
            a = stx.stx_dio_mem_align;
        return a < 512 ? 512 : a;
    }
#else
    (void)fd;
#endif
    return 4096;
}

void setDirect(int fd, bool on)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT));
}

const char* notRegularReason(mode_t mode)
{
    return S_ISLNK(mode)   ? "It is a symbolic link, not a regular file"
           : S_ISDIR(mode) ? "It is a folder, not a regular file"
                           : "It is not a regular file";
}

// Opens without following a link and refuses anything but a regular file,
// leaving such a thing untouched.
int openRegular(const std::string& path, int flags, bool& direct, const char* action)
{
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
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Shared by reader and writer: a set of aligned buffers, each either free or
// in flight, and the ring that carries them when the kernel allows one.
class BlockFile {
public:
    BlockFile(int fd, bool direct, const IoOptions& opt, std::string path)
        : fd_(fd), direct_(direct), path_(std::move(path))
    {
        bool supported = true;
        align_ = directAlignment(fd_, supported);
        if (direct_ && !supported) {
            direct_ = false;
            setDirect(fd_, false);
        }
        std::size_t block = opt.blockSize < align_ ? align_ : (opt.blockSize / align_) * align_;
        int count = opt.buffers < 2 ? 2 : opt.buffers;
        for (int i = 0; i < count; ++i) {
            bufs_.push_back(std::make_unique<AlignedBuffer>(align_ < 4096 ? 4096 : align_, block));
            slots_.push_back({});
        }
#ifdef VANTRIC_HAVE_URING
        if (opt.async && io_uring_queue_init(static_cast<unsigned>(count * 2), &ring_, 0) == 0) {
            async_ = true;
            // Buffers pinned once, rather than at every transfer.
            std::vector<iovec> iov;
            for (auto& b : bufs_)
                iov.push_back({b->data, b->size});
            fixed_ = io_uring_register_buffers(&ring_, iov.data(), static_cast<unsigned>(iov.size())) == 0;
        }
#endif
        g_lastMode = {direct_, async_};
    }

    ~BlockFile()
    {
        drainQuietly();
#ifdef VANTRIC_HAVE_URING
        if (async_)
            io_uring_queue_exit(&ring_);
#endif
        if (fd_ >= 0)
            ::close(fd_);
    }

protected:
    struct Slot {
        bool busy = false;
        std::uint64_t offset = 0;
        std::size_t len = 0;
        long result = 0;
        bool done = false;
    };

    // Starts a transfer of buffer i; synchronous when there is no ring.
    void start(int i, bool write, std::uint64_t offset, std::size_t len)
    {
        Slot& s = slots_[i];
        s = {true, offset, len, 0, false};
#ifdef VANTRIC_HAVE_URING
        if (async_) {
            io_uring_sqe* sqe = io_uring_get_sqe(&ring_);
            if (!sqe) {
                io_uring_submit(&ring_);
                sqe = io_uring_get_sqe(&ring_);
            }
            if (sqe) {
                auto n = static_cast<unsigned>(len);
                if (write && fixed_)
                    io_uring_prep_write_fixed(sqe, fd_, bufs_[i]->data, n, offset, i);
                else if (write)
                    io_uring_prep_write(sqe, fd_, bufs_[i]->data, n, offset);
                else if (fixed_)
                    io_uring_prep_read_fixed(sqe, fd_, bufs_[i]->data, n, offset, i);
                else
                    io_uring_prep_read(sqe, fd_, bufs_[i]->data, n, offset);
                io_uring_sqe_set_data(sqe, reinterpret_cast<void*>(static_cast<std::uintptr_t>(i)));
                int r = io_uring_submit(&ring_);
                if (r >= 0)
                    return;
            }
            // The ring refused: finish this one the plain way.
        }
#endif
        s.result = syncTransfer(write, bufs_[i]->data, len, offset);
        s.done = true;
    }

    // Waits for buffer i and returns its byte count, completing short
    // transfers and falling back from direct I/O where the file system
    // refuses it mid-way.
    std::size_t finish(int i, bool write)
    {
        Slot& s = slots_[i];
        if (!s.busy)
            return 0;
        while (!s.done)
            reapOne();
        s.busy = false;
        long r = s.result;
        if (r == -EINVAL && direct_) {
            direct_ = false;
            g_lastMode.direct = false;
            setDirect(fd_, false);
            r = syncTransfer(write, bufs_[i]->data, s.len, s.offset);
        }
        if (r < 0)
            throw osError(write ? "Cannot write to the file" : "Cannot read the file", static_cast<int>(-r), path_);
        std::size_t done = static_cast<std::size_t>(r);
        if (write && done < s.len) {
            long rest = syncTransfer(true, bufs_[i]->data + done, s.len - done, s.offset + done);
            if (rest < 0)
                throw osError("Cannot write to the file", static_cast<int>(-rest), path_);
            done += static_cast<std::size_t>(rest);
        }
        return done;
    }

    // pwrite/pread until done or the end of the file; -errno on failure.
    long syncTransfer(bool write, std::uint8_t* p, std::size_t len, std::uint64_t offset)
    {
        std::size_t total = 0;
        while (total < len) {
            ssize_t r = write ? ::pwrite(fd_, p + total, len - total, static_cast<off_t>(offset + total))
                              : ::pread(fd_, p + total, len - total, static_cast<off_t>(offset + total));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EINVAL && direct_ && total == 0) {
                    direct_ = false;
                    g_lastMode.direct = false;
                    setDirect(fd_, false);
                    continue;
                }
                return -errno;
            }
            if (r == 0) {
                if (write)
                    return -ENOSPC;
                break;
            }
            total += static_cast<std::size_t>(r);
        }
        return static_cast<long>(total);
    }

    void reapOne()
    {
#ifdef VANTRIC_HAVE_URING
        io_uring_cqe* cqe = nullptr;
        int r;
        do {
            r = io_uring_wait_cqe(&ring_, &cqe);
        } while (r == -EINTR);
        if (r < 0)
            throw osError("Cannot complete a file transfer", -r, path_);
        auto i = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(io_uring_cqe_get_data(cqe)));
        if (i < slots_.size()) {
            slots_[i].result = cqe->res;
            slots_[i].done = true;
        }
        io_uring_cqe_seen(&ring_, cqe);
#endif
    }

    void drainQuietly() noexcept
    {
        try {
            for (auto& s : slots_)
                while (s.busy && !s.done)
                    reapOne();
        } catch (...) {
        }
        for (auto& s : slots_)
            s.busy = false;
    }

    int fd_;
    bool direct_;
    bool async_ = false;
    bool fixed_ = false;
    std::size_t align_ = 4096;
    std::string path_;
    std::vector<std::unique_ptr<AlignedBuffer>> bufs_;
    std::vector<Slot> slots_;
#ifdef VANTRIC_HAVE_URING
    io_uring ring_ {};
#endif
};

class LinuxBlockWriter : public BlockWriter, private BlockFile {
public:
    LinuxBlockWriter(int fd, bool direct, const IoOptions& opt, std::string path)
        : BlockFile(fd, direct, opt, std::move(path))
    {
    }

    std::span<std::uint8_t> firstBuffer() override { return {bufs_[0]->data, bufs_[0]->size}; }

    std::span<std::uint8_t> submit(std::span<const std::uint8_t> filled) override
    {
        if (filled.size() % align_ != 0 && direct_) {
            // Only the tail may be unaligned; anything else goes the plain way.
            waitAll();
            direct_ = false;
            setDirect(fd_, false);
        }
        start(cur_, true, offset_, filled.size());
        offset_ += filled.size();
        cur_ = (cur_ + 1) % static_cast<int>(bufs_.size());
        finish(cur_, true);
        return {bufs_[cur_]->data, bufs_[cur_]->size};
    }

    void flush(std::span<const std::uint8_t> tail) override
    {
        std::size_t aligned = direct_ ? (tail.size() / align_) * align_ : tail.size();
        if (aligned > 0) {
            start(cur_, true, offset_, aligned);
            offset_ += aligned;
        }
        waitAll();
        if (aligned < tail.size()) {
            // The unaligned end cannot go direct: write it through the cache
            // and let the sync below take it to the drive.
            if (direct_)
                setDirect(fd_, false);
            long r = syncTransfer(true, bufs_[cur_]->data + aligned, tail.size() - aligned, offset_);
            if (r < 0)
                throw osError("Cannot write to the file", static_cast<int>(-r), path_);
            offset_ += tail.size() - aligned;
        }
        if (::fdatasync(fd_) != 0)
            throw osError("Cannot write to the file", errno, path_);
    }

    void close() override
    {
        waitAll();
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            throw osError("Cannot close the file", errno, path_);
    }

private:
    void waitAll()
    {
        for (int i = 0; i < static_cast<int>(slots_.size()); ++i)
            finish(i, true);
    }

    int cur_ = 0;
    std::uint64_t offset_ = 0;
};

class LinuxBlockReader : public BlockReader, private BlockFile {
public:
    LinuxBlockReader(int fd, bool direct, const IoOptions& opt, std::string path, std::uint64_t wanted)
        : BlockFile(fd, direct, opt, std::move(path)), wanted_(wanted)
    {
    }

    std::span<const std::uint8_t> next() override
    {
        // Reading ahead starts with the first read, not at the open, so
        // nothing is fetched before the caller's stopwatch runs.
        if (!started_) {
            started_ = true;
            for (int i = 0; i < static_cast<int>(bufs_.size()); ++i)
                startNext(i);
        }
        if (prev_ >= 0) {
            startNext(prev_);
            prev_ = -1;
        }
        if (!slots_[cur_].busy || eof_)
            return {};
        std::size_t got = finish(cur_, false);
        std::size_t asked = slots_[cur_].len;
        std::size_t use = got;
        if (wanted_ && slots_[cur_].offset + use > wanted_)
            use = static_cast<std::size_t>(wanted_ - slots_[cur_].offset);
        if (got < asked)
            eof_ = true;
        std::span<const std::uint8_t> out {bufs_[cur_]->data, use};
        prev_ = cur_;
        cur_ = (cur_ + 1) % static_cast<int>(bufs_.size());
        return out;
    }

    void close() override
    {
        drainQuietly();
        int fd = fd_;
        fd_ = -1;
        ::close(fd);
    }

private:
    void startNext(int i)
    {
        if (eof_ || (wanted_ && nextOffset_ >= wanted_))
            return;
        std::size_t len = bufs_[i]->size;
        if (wanted_ && nextOffset_ + len > wanted_) {
            len = static_cast<std::size_t>(wanted_ - nextOffset_);
            len = (len + align_ - 1) / align_ * align_;
        }
        start(i, false, nextOffset_, len);
        nextOffset_ += len;
    }

    std::uint64_t wanted_;
    std::uint64_t nextOffset_ = 0;
    int cur_ = 0;
    int prev_ = -1;
    bool eof_ = false;
    bool started_ = false;
};

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

class LinuxFileSystem : public FileSystem {
public:
    explicit LinuxFileSystem(IoOptions opt) : opt_(opt) {}

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path) override
    {
        bool direct = opt_.direct;
        int fd = openRegular(path, O_WRONLY | O_CREAT, direct, "Cannot create the scratch file");
        try {
            return std::make_unique<LinuxBlockWriter>(fd, direct, opt_, path);
        } catch (...) {
            ::close(fd);
            throw;
        }
    }

    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted) override
    {
        bool direct = opt_.direct;
        int fd = openRegular(path, O_RDONLY, direct, "Cannot open the scratch file");
        try {
            return std::make_unique<LinuxBlockReader>(fd, direct, opt_, path, wanted);
        } catch (...) {
            ::close(fd);
            throw;
        }
    }

    void remove(const std::string& path) override
    {
        if (::unlink(path.c_str()) != 0)
            throw osError("Cannot delete the file", errno, path);
    }

    std::uint64_t availableBytes(const std::string& folder) override
    {
        struct statvfs st {};
        if (::statvfs(folder.c_str(), &st) != 0)
            throw osError("Cannot query the drive", errno, folder);
        return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
    }

    std::uint64_t totalBytes(const std::string& folder) override
    {
        struct statvfs st {};
        if (::statvfs(folder.c_str(), &st) != 0)
            throw osError("Cannot query the drive", errno, folder);
        return static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize;
    }

    std::optional<std::uint64_t> regularFileSize(const std::string& path) override
    {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return std::nullopt;
            throw osError("Cannot examine the file", errno, path);
        }
        if (!S_ISREG(st.st_mode))
            throw VantricError("Cannot create the scratch file", notRegularReason(st.st_mode), path);
        return static_cast<std::uint64_t>(st.st_size);
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

IoModeReport lastIoMode()
{
    return g_lastMode;
}

} // namespace vantric
