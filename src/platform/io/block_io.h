// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Block-level file access beneath the byte channels: whole buffers go to and
// come from the drive, ideally while the caller fills or drains another one.

#include <cstdint>
#include <span>

namespace vantric {

// How a file's blocks really went: past the page cache or through it, kept
// in flight by a ring or moved one call at a time.
struct IoMode {
    bool direct = false;
    bool async = false;
    bool operator==(const IoMode&) const = default;
};

class BlockWriter {
public:
    virtual ~BlockWriter() = default;
    // Reserves room for the first `bytes` of the file, so that the writes
    // that follow land inside it rather than extend it. Best effort.
    virtual void preallocate(std::uint64_t bytes) = 0;
    virtual std::span<std::uint8_t> firstBuffer() = 0;
    // `filled` (a prefix of the last buffer handed out) goes next in the file;
    // returns the buffer to fill after it.
    virtual std::span<std::uint8_t> submit(std::span<const std::uint8_t> filled) = 0;
    // Writes the last, partly filled buffer and returns once every byte
    // written so far is on the drive.
    virtual void flush(std::span<const std::uint8_t> tail) = 0;
    // Drops the file's pages from the cache and closes it.
    virtual void close() = 0;
    virtual IoMode mode() const = 0;
};

class BlockReader {
public:
    virtual ~BlockReader() = default;
    // The next bytes of the file in order; empty at the end. The bytes stay
    // valid until the following call.
    virtual std::span<const std::uint8_t> next() = 0;
    virtual void close() = 0;
    virtual IoMode mode() const = 0;
};

} // namespace vantric
