#include "platform/linux/block_file.h"

#include "platform/buffer_pool.h"
#include "platform/errors.h"
#include "platform/io_engine.h"
#include "platform/linux/sync_engine.h"
#include "platform/linux/uring_engine.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantric {

namespace {

void setDirect(int fd, bool on)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT));
}

// The alignment direct transfers need on this file; drops O_DIRECT where
// the file system accepted the flag but does no direct I/O.
struct DirectAlignment {
    std::size_t align;
    bool direct; // still direct: the file system really does direct I/O
};

DirectAlignment settleDirect(int fd, bool direct)
{
    std::size_t align = 4096;
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_DIOALIGN, &stx) == 0 && (stx.stx_mask & STATX_DIOALIGN)) {
        if (stx.stx_dio_offset_align == 0) {
            if (direct)
                setDirect(fd, false);
            direct = false;
        } else {
            align = std::max<std::size_t>({512, stx.stx_dio_offset_align, stx.stx_dio_mem_align});
        }
    }
    return {align, direct};
}

// What reader and writer share: the fd, the pool, the engine, and which
// buffers are in flight.
class BlockFile {
protected:
    BlockFile(UniqueFd fd, bool direct, const IoOptions& opt, std::string path)
        : BlockFile(std::move(fd), settleDirect(fd.get(), direct), opt, std::move(path))
    {
    }

    // fd by reference: it is moved only once settleDirect has used it.
    BlockFile(UniqueFd&& fd, DirectAlignment settled, const IoOptions& opt, std::string path)
        : fd_(std::move(fd)),
          direct_(settled.direct),
          path_(std::move(path)),
          align_(settled.align),
          pool_(std::max(opt.buffers, 2), std::max(opt.blockSize, align_), std::max<std::size_t>(align_, 4096)),
          engine_(makeEngine(opt.async)),
          slots_(static_cast<std::size_t>(pool_.count()))
    {
    }

    ~BlockFile() { drainQuietly(); }

    struct Slot {
        bool busy = false;
        bool done = false;
        Transfer t;
        Completion result;
    };

    std::unique_ptr<IoEngine> makeEngine(bool async)
    {
        if (async)
            if (auto ring = makeUringEngine(fd_.get(), pool_))
                return ring;
        return makeSyncEngine(fd_.get());
    }

    int count() const { return pool_.count(); }
    std::span<std::uint8_t> buffer(int i) const { return {pool_.data(i), pool_.size()}; }

    void start(int i, bool write, std::uint8_t* data, std::uint64_t offset, std::size_t length, std::size_t need)
    {
        Slot& s = slots_[static_cast<std::size_t>(i)];
        s.busy = true;
        s.done = false;
        s.result = {};
        s.t = {i, write, data, offset, length, need};
        engine_->queue(s.t);
    }

    void take(const Completion& c)
    {
        Slot& s = slots_.at(static_cast<std::size_t>(c.slot));
        s.result = c;
        s.done = true;
    }

    // Waits for buffer i and returns the bytes it moved.
    std::size_t finish(int i)
    {
        Slot& s = slots_[static_cast<std::size_t>(i)];
        if (!s.busy)
            return 0;
        for (;;) {
            while (!s.done)
                take(engine_->wait());
            if (s.result.error == EINVAL && direct_) {
                // Direct I/O was granted at the open but this transfer is
                // refused: the rest goes through the cache.
                dropDirect();
                s.done = false;
                engine_->queue(s.t);
                continue;
            }
            break;
        }
        s.busy = false;
        // The first failure stops the transfers still going: nothing more
        // is written or read after it.
        if (s.result.error) {
            engine_->cancel();
            throw osError(s.t.write ? "Cannot write to the file" : "Cannot read the file", s.result.error, path_);
        }
        const std::size_t n = s.result.bytes;
        if (s.t.write && n < s.t.length) {
            engine_->cancel();
            throw osError("Cannot write to the file", ENOSPC, path_);
        }
        return n;
    }

    void waitAll()
    {
        for (int i = 0; i < count(); ++i)
            finish(i);
    }

    void dropDirect()
    {
        direct_ = false;
        setDirect(fd_.get(), false);
    }

    // Stops what is still going, starts nothing, and waits until every
    // transfer has let go of its buffer.
    void drainQuietly() noexcept
    {
        try {
            engine_->cancel();
            for (auto& s : slots_)
                while (s.busy && !s.done)
                    take(engine_->wait());
        } catch (...) {
        }
        for (auto& s : slots_)
            s.busy = false;
    }

    IoMode currentMode() const { return {direct_, engine_->async()}; }

    // Declared in teardown order: the engine lets go of the pool's memory
    // before the pool goes, and the fd closes last.
    UniqueFd fd_;
    bool direct_;
    std::string path_;
    std::size_t align_;
    BufferPool pool_;
    std::unique_ptr<IoEngine> engine_;
    std::vector<Slot> slots_;
};

class LinuxBlockWriter : public BlockWriter, private BlockFile {
public:
    LinuxBlockWriter(UniqueFd fd, bool direct, const IoOptions& opt, std::string path)
        : BlockFile(std::move(fd), direct, opt, std::move(path)), preallocate_(opt.preallocate)
    {
    }

    void preallocate(std::uint64_t bytes) override
    {
        if (!preallocate_ || bytes == 0)
            return;
        // fallocate itself, not posix_fallocate: where the file system cannot
        // reserve space, the latter writes zeros, which would be a pass of
        // its own.
        int r;
        do {
            r = ::fallocate(fd_.get(), 0, 0, static_cast<off_t>(bytes));
        } while (r != 0 && errno == EINTR);
        if (r != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
            throw osError("Cannot write to the file", errno, path_);
    }

    std::span<std::uint8_t> firstBuffer() override { return buffer(0); }

    std::span<std::uint8_t> submit(std::span<const std::uint8_t> filled) override
    {
        if (direct_ && filled.size() % align_ != 0) {
            // Only the tail may be unaligned; anything else goes the cached way.
            waitAll();
            dropDirect();
        }
        start(cur_, true, buffer(cur_).data(), offset_, filled.size(), filled.size());
        engine_->submit();
        offset_ += filled.size();
        cur_ = (cur_ + 1) % count();
        finish(cur_);
        return buffer(cur_);
    }

    void flush(std::span<const std::uint8_t> tail) override
    {
        const std::size_t aligned = direct_ ? tail.size() / align_ * align_ : tail.size();
        if (aligned > 0) {
            start(cur_, true, buffer(cur_).data(), offset_, aligned, aligned);
            engine_->submit();
        }
        waitAll();
        offset_ += aligned;
        if (aligned < tail.size()) {
            // The unaligned end cannot go direct: it goes through the cache
            // and the sync below takes it to the drive.
            setDirect(fd_.get(), false);
            const std::size_t rest = tail.size() - aligned;
            start(cur_, true, buffer(cur_).data() + aligned, offset_, rest, rest);
            finish(cur_);
            offset_ += rest;
        }
        if (::fdatasync(fd_.get()) != 0)
            throw osError("Cannot write to the file", errno, path_);
    }

    void close() override
    {
        waitAll();
        // Nothing of the file stays cached for the read pass to find.
        ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_DONTNEED);
        if (int e = fd_.close())
            throw osError("Cannot close the file", e, path_);
    }

    IoMode mode() const override { return currentMode(); }

private:
    bool preallocate_;
    int cur_ = 0;
    std::uint64_t offset_ = 0;
};

class LinuxBlockReader : public BlockReader, private BlockFile {
public:
    LinuxBlockReader(UniqueFd fd, bool direct, const IoOptions& opt, std::string path, std::uint64_t wanted)
        : BlockFile(std::move(fd), direct, opt, std::move(path))
    {
        struct stat st {};
        if (::fstat(fd_.get(), &st) != 0)
            throw osError("Cannot open the scratch file", errno, path_);
        end_ = static_cast<std::uint64_t>(st.st_size);
        if (wanted && wanted < end_)
            end_ = wanted;
    }

    std::span<const std::uint8_t> next() override
    {
        if (!started_) {
            // Reading ahead starts with the first read, not at the open, so
            // nothing is fetched before the caller's stopwatch runs; the
            // first batch goes to the kernel in one call.
            started_ = true;
            for (int i = 0; i < count(); ++i)
                startNext(i);
            engine_->submit();
        } else if (prev_ >= 0) {
            startNext(prev_);
            engine_->submit();
        }
        prev_ = -1;
        if (eof_ || !slots_[static_cast<std::size_t>(cur_)].busy)
            return {};
        const std::size_t got = finish(cur_);
        const Transfer& t = slots_[static_cast<std::size_t>(cur_)].t;
        if (got < t.need)
            eof_ = true; // the file has shrunk since the open
        const std::size_t use = std::min<std::size_t>(std::min(got, t.need), end_ - t.offset);
        prev_ = cur_;
        cur_ = (cur_ + 1) % count();
        return {t.data, use};
    }

    void close() override
    {
        drainQuietly();
        fd_.close();
    }

    IoMode mode() const override { return currentMode(); }

private:
    void startNext(int i)
    {
        if (nextOffset_ >= end_)
            return;
        const std::size_t need = static_cast<std::size_t>(std::min<std::uint64_t>(pool_.size(), end_ - nextOffset_));
        // A direct read covers whole aligned units; the bytes past `need`
        // are not handed out.
        const std::size_t length = direct_ ? (need + align_ - 1) / align_ * align_ : need;
        start(i, false, buffer(i).data(), nextOffset_, length, need);
        nextOffset_ += need;
    }

    std::uint64_t end_ = 0;
    std::uint64_t nextOffset_ = 0;
    int cur_ = 0;
    int prev_ = -1;
    bool eof_ = false;
    bool started_ = false;
};

} // namespace

std::unique_ptr<BlockWriter> makeBlockWriter(UniqueFd fd, bool direct, const IoOptions& opt, std::string path)
{
    return std::make_unique<LinuxBlockWriter>(std::move(fd), direct, opt, std::move(path));
}

std::unique_ptr<BlockReader> makeBlockReader(UniqueFd fd, bool direct, const IoOptions& opt, std::string path,
                                             std::uint64_t wanted)
{
    return std::make_unique<LinuxBlockReader>(std::move(fd), direct, opt, std::move(path), wanted);
}

} // namespace vantric
