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

class WriteChannel {
public:
    WriteChannel(std::unique_ptr<BlockWriter> dev, std::string path);

    void put16(std::int16_t v)
    {
        if (end_ - pos_ < 2) [[unlikely]]
            return putSlow(&v, 2);
        std::memcpy(pos_, &v, 2);
        pos_ += 2;
        ++writes_;
    }

    // Every byte put so far reaches the drive before this returns.
    void flush();
    void close();

    std::uint64_t writes() const { return writes_; }
    const std::string& path() const { return path_; }

private:
    void putSlow(const void* data, std::size_t n);

    std::unique_ptr<BlockWriter> dev_;
    std::string path_;
    std::uint8_t* begin_ = nullptr;
    std::uint8_t* pos_ = nullptr;
    std::uint8_t* end_ = nullptr;
    std::uint64_t writes_ = 0;
    bool flushed_ = false;
};

class ReadChannel {
public:
    ReadChannel(std::unique_ptr<BlockReader> dev, std::string path);

    std::uint8_t getByte()
    {
        if (pos_ == end_) [[unlikely]]
            refill();
        ++reads_;
        return *pos_++;
    }

    void close();

    std::uint64_t reads() const { return reads_; }
    const std::string& path() const { return path_; }

private:
    void refill();

    std::unique_ptr<BlockReader> dev_;
    std::string path_;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    std::uint64_t reads_ = 0;
};

} // namespace vantric
