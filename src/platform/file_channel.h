#pragma once
// Byte channels over block I/O. The per-call path is inline and touches only
// memory, so a two-byte write or a one-byte read costs about a nanosecond;
// the drive is reached once per block.

#include "platform/block_io.h"
#include "platform/errors.h"

#include <cstring>
#include <memory>
#include <string>

namespace vantric {

// A tight loop takes a cursor (a copy of the channel's position in its
// current block, kept in registers), makes one call per step on it, and
// hands it back at the end.
struct WriteCursor {
    std::uint8_t* pos;
    std::uint8_t* end;
};

struct ReadCursor {
    const std::uint8_t* pos;
    const std::uint8_t* end;
};

class WriteChannel {
public:
    WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path);

    WriteCursor begin() const { return {pos_, end_}; }
    void end(WriteCursor c) { pos_ = c.pos; }

    void put16(WriteCursor& c, std::int16_t v)
    {
        if (c.end - c.pos < 2) [[unlikely]] {
            c = putSlow(c, v);
            return;
        }
        std::memcpy(c.pos, &v, 2);
        c.pos += 2;
    }

    // Every byte put so far reaches the drive before this returns.
    void flush();
    void close();

    // Two-byte writes made so far (each one advances the position by two).
    std::uint64_t writes() const { return (submitted_ + static_cast<std::uint64_t>(pos_ - begin_)) / 2; }

private:
    WriteCursor putSlow(WriteCursor c, std::int16_t v);

    std::unique_ptr<BlockWriter> dev_;
    std::string path_;
    std::uint8_t* begin_ = nullptr;
    std::uint8_t* pos_ = nullptr;
    std::uint8_t* end_ = nullptr;
    std::uint64_t submitted_ = 0;
    bool flushed_ = false;
};

class ReadChannel {
public:
    ReadChannel(std::unique_ptr<BlockReader> dev, std::string path);

    ReadCursor begin() const { return {pos_, end_}; }
    void end(ReadCursor c) { pos_ = c.pos; }

    std::uint8_t getByte(ReadCursor& c)
    {
        if (c.pos == c.end) [[unlikely]]
            c = refill(c);
        return *c.pos++;
    }

    void close();

    // One-byte reads made so far.
    std::uint64_t reads() const { return consumed_ + static_cast<std::uint64_t>(pos_ - blockStart_); }

private:
    ReadCursor refill(ReadCursor c);

    std::unique_ptr<BlockReader> dev_;
    std::string path_;
    const std::uint8_t* blockStart_ = nullptr;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    std::uint64_t consumed_ = 0;
};

} // namespace vantric
