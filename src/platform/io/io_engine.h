// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What moves blocks between a buffer pool and a file: either a ring that
// keeps several transfers in flight or plain calls one after another.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>

namespace vantric {

struct Transfer {
    int slot = 0;                // buffer of the pool; identifies the transfer
    bool write = false;
    std::uint8_t* data = nullptr; // inside that buffer
    std::uint64_t offset = 0;    // in the file
    std::size_t length = 0;
    // Fewer bytes than this is a short transfer and the rest goes again; a
    // read ends sooner only at the end of the file.
    std::size_t need = 0;
};

struct Completion {
    int slot = 0;
    std::size_t bytes = 0; // moved before the transfer ended
    int error = 0;         // the system's error number of a failed transfer, 0 when it did not fail
};

class IoEngine {
public:
    virtual ~IoEngine() = default;
    // True when transfers run while the caller goes on.
    virtual bool async() const = 0;
    // Adds a transfer to the batch. An asynchronous engine starts nothing
    // before submit or wait; a synchronous one moves the bytes here.
    virtual void queue(const Transfer& t) = 0;
    // Starts every queued transfer with one call.
    virtual void submit() = 0;
    // Starts what is queued and returns a finished transfer.
    virtual Completion wait() = 0;
    // After a failure: what is queued never starts and what is in flight is
    // stopped; wait() hands each back with an error. An engine that finishes
    // every transfer as it is queued has nothing to stop.
    virtual void cancel() {}
};

// Plain calls one after another: `move` carries a whole transfer out (going
// on after a short one) before queue returns; wait hands the results back
// in the order they were queued.
class SyncEngine : public IoEngine {
public:
    using Move = std::function<Completion(const Transfer&)>;
    explicit SyncEngine(Move move) : move_(std::move(move)) {}

    bool async() const override { return false; }
    void queue(const Transfer& t) override
    {
        Completion c = move_(t);
        c.slot = t.slot;
        done_.push_back(c);
    }
    void submit() override {}
    Completion wait() override
    {
        if (done_.empty())
            throw std::logic_error("wait with nothing queued");
        Completion c = done_.front();
        done_.pop_front();
        return c;
    }

private:
    Move move_;
    std::deque<Completion> done_;
};

} // namespace vantric
