// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/io_engines.h"

#include <stdexcept>
#include <vector>

namespace vantric {

namespace {

void setOffset(OVERLAPPED& ov, std::uint64_t offset)
{
    ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
}

// Starts one call; false with `err` set when it failed at once.
bool start(HANDLE h, bool write, std::uint8_t* data, std::size_t length, OVERLAPPED& ov, DWORD& err)
{
    const DWORD n = static_cast<DWORD>(length);
    BOOL ok = write ? ::WriteFile(h, data, n, nullptr, &ov) : ::ReadFile(h, data, n, nullptr, &ov);
    if (ok)
        return true;
    err = ::GetLastError();
    return err == ERROR_IO_PENDING;
}

// The bytes a finished call moved, and its error code if it failed.
struct CallResult {
    std::size_t bytes = 0;
    DWORD error = 0;
};

CallResult result(HANDLE h, OVERLAPPED& ov, bool wait)
{
    DWORD n = 0;
    if (::GetOverlappedResult(h, &ov, &n, wait ? TRUE : FALSE))
        return {n, 0};
    DWORD err = ::GetLastError();
    return {0, err == ERROR_HANDLE_EOF ? 0 : err};
}

} // namespace

Completion transferNow(HANDLE h, bool write, std::uint8_t* data, std::uint64_t offset, std::size_t length,
                       std::size_t need)
{
    std::size_t total = 0;
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD failed = 0;
    while (total < need) {
        OVERLAPPED ov {};
        ov.hEvent = event;
        setOffset(ov, offset + total);
        DWORD err = 0;
        if (!start(h, write, data + total, length - total, ov, err)) {
            failed = err == ERROR_HANDLE_EOF ? 0 : err;
            break;
        }
        CallResult r = result(h, ov, true);
        if (r.error) {
            failed = r.error;
            break;
        }
        if (r.bytes == 0)
            break;
        total += r.bytes;
    }
    ::CloseHandle(event);
    return {0, total, static_cast<int>(failed)};
}

namespace {

// One OVERLAPPED and event per buffer of the pool. Queued transfers start
// together at submit (or wait); completions come back in any order.
class OverlappedEngine : public IoEngine {
public:
    OverlappedEngine(const HANDLE& h, int slots) : h_(h), ops_(static_cast<std::size_t>(slots))
    {
        for (Op& op : ops_)
            op.ov.hEvent = op.event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    ~OverlappedEngine() override
    {
        // The system still writes into the buffers of transfers in flight.
        bool any = false;
        for (Op& op : ops_)
            any = any || op.state == Op::InFlight;
        if (any) {
            ::CancelIoEx(h_, nullptr);
            for (Op& op : ops_)
                if (op.state == Op::InFlight)
                    result(h_, op.ov, true);
        }
        for (Op& op : ops_)
            ::CloseHandle(op.event);
    }

    bool async() const override { return true; }

    void queue(const Transfer& t) override
    {
        Op& op = ops_.at(static_cast<std::size_t>(t.slot));
        op.t = t;
        op.moved = 0;
        op.state = Op::Queued;
    }

    void submit() override
    {
        for (Op& op : ops_)
            if (op.state == Op::Queued)
                issue(op);
    }

    Completion wait() override
    {
        submit();
        for (;;) {
            for (std::size_t i = 0; i < ops_.size(); ++i)
                if (ops_[i].state == Op::Failed || ops_[i].state == Op::Done) {
                    ops_[i].state = Op::Idle;
                    return {static_cast<int>(i), ops_[i].moved, static_cast<int>(ops_[i].error)};
                }
            std::vector<HANDLE> events;
            std::vector<std::size_t> which;
            for (std::size_t i = 0; i < ops_.size(); ++i)
                if (ops_[i].state == Op::InFlight) {
                    events.push_back(ops_[i].event);
                    which.push_back(i);
                }
            if (events.empty())
                throw std::logic_error("wait with nothing queued");
            DWORD w = ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, INFINITE);
            if (w >= WAIT_OBJECT_0 + events.size())
                throw std::runtime_error("waiting for the file transfers failed");
            complete(ops_[which[w - WAIT_OBJECT_0]]);
        }
    }

private:
    struct Op {
        enum State { Idle, Queued, InFlight, Done, Failed } state = Idle;
        OVERLAPPED ov {};
        HANDLE event = nullptr;
        Transfer t;
        std::size_t moved = 0;
        DWORD error = 0;
    };

    void issue(Op& op)
    {
        HANDLE event = op.event;
        op.ov = OVERLAPPED {};
        op.ov.hEvent = event;
        ::ResetEvent(event);
        setOffset(op.ov, op.t.offset + op.moved);
        DWORD err = 0;
        if (start(h_, op.t.write, op.t.data + op.moved, op.t.length - op.moved, op.ov, err)) {
            op.state = Op::InFlight;
            return;
        }
        op.state = Op::Failed;
        op.error = err == ERROR_HANDLE_EOF ? 0 : err;
    }

    void complete(Op& op)
    {
        CallResult r = result(h_, op.ov, true);
        if (r.error) {
            op.state = Op::Failed;
            op.error = r.error;
            return;
        }
        op.moved += r.bytes;
        // A short transfer goes on for the rest; a read ends early only at
        // the end of the file.
        if (r.bytes > 0 && op.moved < op.t.need) {
            issue(op);
            return;
        }
        op.state = Op::Done;
    }

    const HANDLE& h_;
    std::vector<Op> ops_;
};

} // namespace

std::unique_ptr<IoEngine> makeOverlappedEngine(const HANDLE& h, int slots)
{
    return std::make_unique<OverlappedEngine>(h, slots);
}

std::unique_ptr<IoEngine> makeSyncEngine(const HANDLE& h)
{
    return std::make_unique<SyncEngine>([&h](const Transfer& t) {
        return transferNow(h, t.write, t.data, t.offset, t.length, t.need);
    });
}

} // namespace vantric
