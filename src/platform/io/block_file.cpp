// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/io/block_file.h"

#include <algorithm>
#include <vector>

namespace vantric {

namespace {

// What reader and writer share: the file, the pool, the engine, and which
// buffers are in flight.
class BlockFile {
protected:
    BlockFile(std::unique_ptr<BlockHooks> file, const IoOptions& opt, std::string path)
        : file_(std::move(file)),
          direct_(file_->direct()),
          path_(std::move(path)),
          align_(file_->alignment()),
          pool_(std::max(opt.buffers, 2), std::max(opt.blockSize, align_), std::max<std::size_t>(align_, 4096)),
          engine_(file_->makeEngine(opt.async, pool_)),
          slots_(static_cast<std::size_t>(pool_.count()))
    {
    }

    ~BlockFile() { drainQuietly(); }

    struct Slot {
        bool busy = false;
        bool done = false;
        bool direct = false; // started while transfers bypassed the cache
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
        s.direct = direct_;
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
            if (s.direct && file_->refusesDirect(s.result.error)) {
                // Direct I/O was granted at the open but this transfer is
                // refused: it and the rest go through the cache.
                leaveDirect(i, s.t.write);
                s.done = false;
                s.direct = false;
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
            throw file_->error(s.t.write ? "Cannot write to the file" : "Cannot read the file", s.result.error,
                               path_);
        }
        const std::size_t n = s.result.bytes;
        if (s.t.write && n < s.t.length) {
            engine_->cancel();
            throw file_->error("Cannot write to the file", file_->diskFull(), path_);
        }
        return n;
    }

    void waitAll()
    {
        for (int i = 0; i < count(); ++i)
            finish(i);
    }

    // The transfers still in flight (all but `except`) land first: a system
    // may not switch a file's caching under them.
    void leaveDirect(int except, bool write)
    {
        if (!direct_)
            return;
        for (std::size_t j = 0; j < slots_.size(); ++j)
            while (static_cast<int>(j) != except && slots_[j].busy && !slots_[j].done)
                take(engine_->wait());
        if (int e = file_->leaveDirect())
            throw file_->error(write ? "Cannot write to the file" : "Cannot read the file", e, path_);
        direct_ = false;
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

    // Destroyed bottom up: the engine lets go of the pool's memory before
    // the pool goes, and the file closes last.
    std::unique_ptr<BlockHooks> file_;
    bool direct_;
    std::string path_;
    std::size_t align_;
    BufferPool pool_;
    std::unique_ptr<IoEngine> engine_;
    std::vector<Slot> slots_;
};

class RingWriter : public BlockWriter, private BlockFile {
public:
    RingWriter(std::unique_ptr<BlockHooks> file, const IoOptions& opt, std::string path)
        : BlockFile(std::move(file), opt, std::move(path)), preallocate_(opt.preallocate)
    {
    }

    void preallocate(std::uint64_t bytes) override
    {
        if (!preallocate_ || bytes == 0)
            return;
        if (int e = file_->preallocate(bytes))
            throw file_->error("Cannot write to the file", e, path_);
    }

    std::span<std::uint8_t> firstBuffer() override { return buffer(0); }

    std::span<std::uint8_t> submit(std::span<const std::uint8_t> filled) override
    {
        if (direct_ && filled.size() % align_ != 0) {
            // Only the tail may be unaligned; anything else goes the cached way.
            waitAll();
            leaveDirect(-1, true);
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
            // (and the pass is no longer all direct), and the sync below
            // takes it to the drive.
            leaveDirect(-1, true);
            const std::size_t rest = tail.size() - aligned;
            start(cur_, true, buffer(cur_).data() + aligned, offset_, rest, rest);
            finish(cur_);
            offset_ += rest;
        }
        if (int e = file_->sync())
            throw file_->error("Cannot write to the file", e, path_);
    }

    void close() override
    {
        waitAll();
        file_->dropCache();
        if (int e = file_->close())
            throw file_->error("Cannot close the file", e, path_);
    }

    IoMode mode() const override { return currentMode(); }

private:
    bool preallocate_;
    int cur_ = 0;
    std::uint64_t offset_ = 0;
};

class RingReader : public BlockReader, private BlockFile {
public:
    RingReader(std::unique_ptr<BlockHooks> file, const IoOptions& opt, std::string path, std::uint64_t wanted)
        : BlockFile(std::move(file), opt, std::move(path))
    {
        if (int e = file_->fileSize(end_))
            throw file_->error("Cannot open the scratch file", e, path_);
        if (wanted && wanted < end_)
            end_ = wanted;
    }

    std::span<const std::uint8_t> next() override
    {
        if (!started_) {
            // Reading ahead starts with the first read, not at the open, so
            // nothing is fetched before the caller's stopwatch runs; the
            // first batch goes to the system in one call.
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
        file_->close();
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

std::unique_ptr<BlockWriter> makeBlockWriter(std::unique_ptr<BlockHooks> file, const IoOptions& opt,
                                             std::string path)
{
    return std::make_unique<RingWriter>(std::move(file), opt, std::move(path));
}

std::unique_ptr<BlockReader> makeBlockReader(std::unique_ptr<BlockHooks> file, const IoOptions& opt,
                                             std::string path, std::uint64_t wanted)
{
    return std::make_unique<RingReader>(std::move(file), opt, std::move(path), wanted);
}

} // namespace vantric
