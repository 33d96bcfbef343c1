// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A file in memory behind the block ring: its engine holds each transfer until the ring waits for it,
// to show what is in flight when the ring leaves direct I/O; one offset can refuse direct transfers.

#include "platform/io/block_file.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <vector>

namespace vantric::test {

struct MemoryFile {
    static constexpr int kRefused = 22;
    static constexpr std::size_t kAlign = 512;

    std::vector<std::uint8_t> bytes;
    bool direct = true; // transfers bypass the cache
    std::uint64_t refuseDirectAt = std::numeric_limits<std::uint64_t>::max();
    int inFlight = 0;
    int mostInFlight = 0;
    std::vector<int> inFlightAtLeave; // one entry each time direct I/O was left
};

class HeldEngine : public IoEngine {
public:
    explicit HeldEngine(MemoryFile& f) : f_(f) {}
    bool async() const override { return true; }
    void queue(const Transfer& t) override
    {
        held_.push_back(t);
        f_.mostInFlight = std::max(f_.mostInFlight, ++f_.inFlight);
    }
    void submit() override {}
    Completion wait() override
    {
        const Transfer t = held_.front();
        held_.pop_front();
        --f_.inFlight;
        if (f_.direct
            && (t.offset == f_.refuseDirectAt || t.offset % MemoryFile::kAlign || t.length % MemoryFile::kAlign))
            return {t.slot, 0, MemoryFile::kRefused};
        if (t.write) {
            f_.bytes.resize(std::max<std::size_t>(f_.bytes.size(), t.offset + t.length));
            std::memcpy(f_.bytes.data() + t.offset, t.data, t.length);
            return {t.slot, t.length, 0};
        }
        const std::size_t n = t.offset < f_.bytes.size() ? std::min(t.length, f_.bytes.size() - t.offset) : 0;
        std::memcpy(t.data, f_.bytes.data() + t.offset, n);
        return {t.slot, n, 0};
    }

private:
    MemoryFile& f_;
    std::deque<Transfer> held_;
};

class MemoryHooks : public BlockHooks {
public:
    explicit MemoryHooks(MemoryFile& f) : f_(f) {}
    bool direct() const override { return f_.direct; }
    std::size_t alignment() const override { return MemoryFile::kAlign; }
    std::unique_ptr<IoEngine> makeEngine(bool, const BufferPool&) override { return std::make_unique<HeldEngine>(f_); }
    int leaveDirect() override
    {
        f_.inFlightAtLeave.push_back(f_.inFlight);
        f_.direct = false;
        return 0;
    }
    int preallocate(std::uint64_t) override { return 0; }
    int sync() override { return 0; }
    void dropCache() override {}
    int fileSize(std::uint64_t& b) override
    {
        b = f_.bytes.size();
        return 0;
    }
    int close() override { return 0; }
    bool refusesDirect(int error) const override { return error == MemoryFile::kRefused; }
    int diskFull() const override { return 28; }
    VantricError error(const std::string& action, int code, const std::string& path) const override
    {
        return VantricError(action, "error " + std::to_string(code), path, code);
    }

private:
    MemoryFile& f_;
};

} // namespace vantric::test
