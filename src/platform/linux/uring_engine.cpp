// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/io_engines.h"

#include "platform/errors.h"

#include <liburing.h>

#include <cerrno>
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

namespace vantric {

namespace {

class UringEngine : public IoEngine {
public:
    UringEngine(int fd, const BufferPool& pool) : fd_(fd), ops_(static_cast<std::size_t>(pool.count())) {}

    bool init(const BufferPool& pool)
    {
        // Room for every buffer's transfer plus its requeued rest.
        if (io_uring_queue_init(static_cast<unsigned>(pool.count()) * 2, &ring_, 0) != 0)
            return false;
        ready_ = true;
        // Pinned once here instead of at every transfer.
        std::vector<iovec> iov;
        for (int i = 0; i < pool.count(); ++i)
            iov.push_back({pool.data(i), pool.size()});
        fixed_ = io_uring_register_buffers(&ring_, iov.data(), static_cast<unsigned>(iov.size())) == 0;
        return true;
    }

    ~UringEngine() override
    {
        if (!ready_)
            return;
        // Transfers in flight still target the pool's memory: stop them and
        // wait until they have let go before the pool can go. Queued ones
        // never start.
        cancel();
        while (inFlight_ > 0) {
            io_uring_cqe* cqe = nullptr;
            int r = io_uring_wait_cqe(&ring_, &cqe);
            if (r == -EINTR)
                continue;
            if (r < 0)
                break;
            io_uring_cqe_seen(&ring_, cqe);
            --inFlight_;
        }
        io_uring_queue_exit(&ring_);
    }

    bool async() const override { return true; }

    void queue(const Transfer& t) override
    {
        Op& op = ops_.at(static_cast<std::size_t>(t.slot));
        op = {t, 0};
        prepare(op);
    }

    void submit() override
    {
        if (queued_ == 0)
            return;
        int r = io_uring_submit(&ring_);
        if (r < 0)
            throw osError("Cannot start a file transfer", -r);
        moveQueued(static_cast<unsigned>(r));
    }

    Completion wait() override
    {
        for (;;) {
            if (!dropped_.empty()) {
                Completion c = dropped_.front();
                dropped_.pop_front();
                return c;
            }
            if (inFlight_ == 0 && queued_ == 0)
                throw std::logic_error("wait with nothing queued");
            if (auto c = reap())
                return *c;
        }
    }

    // Entries not yet handed to the kernel are taken back, so they never
    // start; the kernel is asked to stop every transfer on the file. Each
    // comes back from wait() with ECANCELED (or its own error).
    void cancel() override
    {
        if (!ready_)
            return;
        cancelled_ = true;
        for (unsigned i = ring_.sq.sqe_head; i != ring_.sq.sqe_tail; ++i) {
            const std::uint64_t slot = ring_.sq.sqes[i & ring_.sq.ring_mask].user_data;
            if (slot < ops_.size())
                dropped_.push_back({static_cast<int>(slot), ops_[slot].done, ECANCELED});
        }
        ring_.sq.sqe_tail = ring_.sq.sqe_head;
        queued_ = 0;
        if (inFlight_ == 0)
            return;
        io_uring_sqe* sqe = io_uring_get_sqe(&ring_);
        if (!sqe)
            return;
        io_uring_prep_cancel_fd(sqe, fd_, IORING_ASYNC_CANCEL_ALL);
        io_uring_sqe_set_data64(sqe, kCancelRequest);
        if (io_uring_submit(&ring_) == 1)
            ++inFlight_;
    }

private:
    struct Op {
        Transfer t;
        std::size_t done = 0;
    };

    void moveQueued(unsigned n)
    {
        n = n > queued_ ? queued_ : n;
        queued_ -= n;
        inFlight_ += static_cast<int>(n);
    }

    // The rest of a transfer (all of it at first) into the submission queue.
    void prepare(Op& op)
    {
        io_uring_sqe* sqe = io_uring_get_sqe(&ring_);
        if (!sqe) {
            submit();
            sqe = io_uring_get_sqe(&ring_);
            if (!sqe)
                throw VantricError("Cannot start a file transfer", "The submission queue is full");
        }
        const Transfer& t = op.t;
        std::uint8_t* p = t.data + op.done;
        const auto n = static_cast<unsigned>(t.length - op.done);
        const std::uint64_t off = t.offset + op.done;
        if (fixed_ && t.write)
            io_uring_prep_write_fixed(sqe, fd_, p, n, off, t.slot);
        else if (fixed_)
            io_uring_prep_read_fixed(sqe, fd_, p, n, off, t.slot);
        else if (t.write)
            io_uring_prep_write(sqe, fd_, p, n, off);
        else
            io_uring_prep_read(sqe, fd_, p, n, off);
        io_uring_sqe_set_data64(sqe, static_cast<std::uint64_t>(t.slot));
        // Reads go straight to the kernel's workers: where a read is a copy
        // out of memory (tmpfs), issuing it inline would make the caller do
        // that copy too, instead of draining the previous block meanwhile.
        if (!t.write)
            io_uring_sqe_set_flags(sqe, IOSQE_ASYNC);
        ++queued_;
    }

    // Submits what is queued, takes one completion and returns it when its
    // transfer is finished; a short one goes back into the ring instead.
    std::optional<Completion> reap()
    {
        io_uring_cqe* cqe = nullptr;
        int r;
        do {
            if (queued_ > 0) {
                r = io_uring_submit_and_wait(&ring_, 1);
                if (r >= 0) {
                    moveQueued(static_cast<unsigned>(r));
                    r = io_uring_peek_cqe(&ring_, &cqe);
                }
            } else {
                r = io_uring_wait_cqe(&ring_, &cqe);
            }
        } while (r == -EINTR || r == -EAGAIN);
        if (r < 0)
            throw osError("Cannot complete a file transfer", -r);
        const auto slot = static_cast<std::size_t>(io_uring_cqe_get_data64(cqe));
        const int res = cqe->res;
        io_uring_cqe_seen(&ring_, cqe);
        --inFlight_;
        if (slot >= ops_.size())
            return std::nullopt;
        Op& op = ops_[slot];
        if (cancelled_) // stopped: nothing goes back into the ring
            return Completion {op.t.slot, op.done, res < 0 ? -res : ECANCELED};
        if (res == -EAGAIN || res == -EINTR) {
            prepare(op);
            return std::nullopt;
        }
        if (res < 0)
            return Completion {op.t.slot, op.done, -res};
        op.done += static_cast<std::size_t>(res);
        if (res > 0 && op.done < op.t.need) {
            prepare(op);
            return std::nullopt;
        }
        return Completion {op.t.slot, op.done, 0};
    }

    int fd_;
    io_uring ring_ {};
    bool ready_ = false;
    std::vector<Op> ops_;
    bool fixed_ = false;
    unsigned queued_ = 0; // prepared, not yet handed to the kernel
    int inFlight_ = 0;    // handed to the kernel, completion not yet taken
    bool cancelled_ = false;
    std::deque<Completion> dropped_; // taken back before the kernel saw them
    static constexpr std::uint64_t kCancelRequest = ~0ULL;
};

} // namespace

std::unique_ptr<IoEngine> makeUringEngine(int fd, const BufferPool& pool)
{
    auto engine = std::make_unique<UringEngine>(fd, pool);
    if (!engine->init(pool))
        return nullptr;
    return engine;
}

} // namespace vantric
