#include "platform/windows/block_file.h"

#include "platform/buffer_pool.h"
#include "platform/errors.h"
#include "platform/windows/io_engines.h"
#include "platform/windows/win_text.h"

#include <algorithm>
#include <vector>

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

// What reader and writer share: the handle, the pool, the engine, and which
// buffers are in flight. Where an unbuffered transfer cannot be made, the
// file goes on through a second, buffered handle on the same file.
class BlockFile {
protected:
    BlockFile(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt, std::string path)
        : h_(std::move(h)),
          direct_(direct),
          overlapped_(overlapped),
          path_(std::move(path)),
          align_(sectorAlignment(path_)),
          pool_(std::max(opt.buffers, 2), std::max(opt.blockSize, align_), align_),
          engine_(overlapped ? makeOverlappedEngine(h_.get(), pool_.count()) : makeSyncEngine(h_.get())),
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
            if (s.result.error == static_cast<int>(ERROR_INVALID_PARAMETER) && direct_) {
                // Unbuffered I/O was granted at the open but this transfer
                // is refused: the rest goes through the cache.
                waitOthers(i);
                dropDirect();
                s.done = false;
                engine_->queue(s.t);
                continue;
            }
            break;
        }
        s.busy = false;
        if (s.result.error)
            throw winError(s.t.write ? "Cannot write to the file" : "Cannot read the file",
                           static_cast<DWORD>(s.result.error), path_);
        const std::size_t n = s.result.bytes;
        if (s.t.write && n < s.t.length)
            throw winError("Cannot write to the file", ERROR_DISK_FULL, path_);
        return n;
    }

    void waitOthers(int except)
    {
        for (auto& s : slots_)
            if (&s != &slots_[static_cast<std::size_t>(except)])
                while (s.busy && !s.done)
                    take(engine_->wait());
    }

    void waitAll()
    {
        for (int i = 0; i < count(); ++i)
            finish(i);
    }

    // A handle on the same file that goes through the system cache.
    HANDLE cachedHandle()
    {
        if (!cached_.valid()) {
            const DWORD access = writer() ? GENERIC_WRITE : GENERIC_READ;
            HANDLE h = ::ReOpenFile(h_.get(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    FILE_FLAG_OPEN_REPARSE_POINT | (overlapped_ ? FILE_FLAG_OVERLAPPED : 0));
            if (h == INVALID_HANDLE_VALUE)
                throw winError(writer() ? "Cannot write to the file" : "Cannot read the file", ::GetLastError(),
                               path_);
            cached_ = UniqueHandle(h);
        }
        return cached_.get();
    }

    void dropDirect()
    {
        engine_->setHandle(cachedHandle());
        direct_ = false;
    }

    void drainQuietly() noexcept
    {
        try {
            for (auto& s : slots_)
                while (s.busy && !s.done)
                    take(engine_->wait());
        } catch (...) {
        }
        for (auto& s : slots_)
            s.busy = false;
    }

    DWORD closeHandles()
    {
        DWORD a = cached_.close();
        DWORD b = h_.close();
        return b ? b : a;
    }

    IoMode currentMode() const { return {direct_, engine_->async()}; }
    virtual bool writer() const = 0;

    // Declared in teardown order: the engine is done with the pool's
    // buffers before the pool goes, and the handles close last.
    UniqueHandle h_;
    UniqueHandle cached_;
    bool direct_;
    bool overlapped_;
    std::string path_;
    std::size_t align_;
    BufferPool pool_;
    std::unique_ptr<HandleEngine> engine_;
    std::vector<Slot> slots_;
};

class WinBlockWriter : public BlockWriter, private BlockFile {
public:
    WinBlockWriter(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt, std::string path)
        : BlockFile(std::move(h), direct, overlapped, opt, std::move(path)), preallocate_(opt.preallocate)
    {
    }

    ~WinBlockWriter() override { drainQuietly(); }

    // The file is made at least this long, as fallocate does on Linux, so
    // that the writes land inside it.
    void preallocate(std::uint64_t bytes) override
    {
        if (!preallocate_ || bytes == 0)
            return;
        LARGE_INTEGER size {};
        if (!::GetFileSizeEx(h_.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) >= bytes)
            return;
        FILE_END_OF_FILE_INFO eof {};
        eof.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes);
        if (!::SetFileInformationByHandle(h_.get(), FileEndOfFileInfo, &eof, sizeof eof)) {
            DWORD err = ::GetLastError();
            if (err != ERROR_INVALID_FUNCTION && err != ERROR_NOT_SUPPORTED && err != ERROR_INVALID_PARAMETER)
                throw winError("Cannot write to the file", err, path_);
        }
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
            // The unaligned end cannot go unbuffered: it goes through the
            // cache, and the flush below takes it to the drive.
            const std::size_t rest = tail.size() - aligned;
            Completion r = transferNow(cachedHandle(), true, buffer(cur_).data() + aligned, offset_, rest, rest);
            if (r.error)
                throw winError("Cannot write to the file", static_cast<DWORD>(r.error), path_);
            if (r.bytes < rest)
                throw winError("Cannot write to the file", ERROR_DISK_FULL, path_);
            offset_ += rest;
        }
        // The device's own cache too: the pass ends with the bytes on the drive.
        if (cached_.valid() && !::FlushFileBuffers(cached_.get()))
            throw winError("Cannot write to the file", ::GetLastError(), path_);
        if (!::FlushFileBuffers(h_.get()))
            throw winError("Cannot write to the file", ::GetLastError(), path_);
    }

    void close() override
    {
        waitAll();
        if (DWORD err = closeHandles())
            throw winError("Cannot close the file", err, path_);
    }

    IoMode mode() const override { return currentMode(); }

private:
    bool writer() const override { return true; }

    bool preallocate_;
    int cur_ = 0;
    std::uint64_t offset_ = 0;
};

class WinBlockReader : public BlockReader, private BlockFile {
public:
    WinBlockReader(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt, std::string path,
                   std::uint64_t wanted)
        : BlockFile(std::move(h), direct, overlapped, opt, std::move(path))
    {
        LARGE_INTEGER size {};
        if (!::GetFileSizeEx(h_.get(), &size))
            throw winError("Cannot open the scratch file", ::GetLastError(), path_);
        end_ = static_cast<std::uint64_t>(size.QuadPart);
        if (wanted && wanted < end_)
            end_ = wanted;
    }

    ~WinBlockReader() override { drainQuietly(); }

    std::span<const std::uint8_t> next() override
    {
        if (!started_) {
            // Reading ahead starts with the first read, not at the open, so
            // nothing is fetched before the caller's stopwatch runs.
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
        closeHandles();
    }

    IoMode mode() const override { return currentMode(); }

private:
    bool writer() const override { return false; }

    void startNext(int i)
    {
        if (nextOffset_ >= end_)
            return;
        const std::size_t need = static_cast<std::size_t>(std::min<std::uint64_t>(pool_.size(), end_ - nextOffset_));
        // An unbuffered read covers whole sectors; the bytes past `need`
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

std::unique_ptr<BlockWriter> makeBlockWriter(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt,
                                             std::string path)
{
    return std::make_unique<WinBlockWriter>(std::move(h), direct, overlapped, opt, std::move(path));
}

std::unique_ptr<BlockReader> makeBlockReader(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt,
                                             std::string path, std::uint64_t wanted)
{
    return std::make_unique<WinBlockReader>(std::move(h), direct, overlapped, opt, std::move(path), wanted);
}

} // namespace vantric
