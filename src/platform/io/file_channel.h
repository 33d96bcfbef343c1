// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Byte channels over block I/O. A loop asks for the room left in the
// channel's current block, makes its one-value steps straight into that
// memory with no check per step, and says where it stopped; the drive is
// reached once per block.

#include "platform/io/block_io.h"
#include "platform/errors.h"

#include <memory>
#include <span>
#include <string>

namespace vantric {

class WriteChannel {
public:
    WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path);

    // The free part of the current block, room for at least one two-byte
    // write; a full block goes to the drive first.
    std::span<std::uint8_t> room()
    {
        if (end_ - pos_ < 2) [[unlikely]]
            nextBlock();
        return {pos_, end_};
    }
    // The bytes of the room before `end` now hold what was put.
    void filledTo(std::uint8_t* end) { pos_ = end; }

    // Reserves the file's first `bytes` ahead of the writes.
    void preallocate(std::uint64_t bytes);
    // Every byte put so far reaches the drive before this returns.
    void flush();
    void close();

    IoMode mode() const { return dev_->mode(); }

private:
    void nextBlock();

    std::unique_ptr<BlockWriter> dev_;
    std::string path_;
    std::uint8_t* begin_ = nullptr;
    std::uint8_t* pos_ = nullptr;
    std::uint8_t* end_ = nullptr;
    bool flushed_ = false;
};

class ReadChannel {
public:
    ReadChannel(std::unique_ptr<BlockReader> dev, std::string path);

    // The bytes of the current block not taken yet, the next block once it
    // is used up. Throws past the end of the file.
    std::span<const std::uint8_t> available()
    {
        if (pos_ == end_) [[unlikely]]
            nextBlock();
        return {pos_, end_};
    }
    // The bytes of the block before `end` are taken.
    void takenTo(const std::uint8_t* end) { pos_ = end; }

    void close();

    IoMode mode() const { return dev_->mode(); }

private:
    void nextBlock();

    std::unique_ptr<BlockReader> dev_;
    std::string path_;
    const std::uint8_t* blockStart_ = nullptr;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
};

} // namespace vantric
