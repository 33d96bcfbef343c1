#pragma once
// Bytes written to and read from files by the file tests of both systems.

#include "platform/io/block_io.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vantric::test {

// No two neighbouring blocks alike, so a block read at the wrong offset shows.
inline std::vector<std::uint8_t> pattern(std::size_t n)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(i * 7 + i / 4096 + 1);
    return v;
}

inline std::vector<std::uint8_t> readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeAll(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string describe(IoMode m)
{
    return std::string(m.direct ? "direct" : "cached") + (m.async ? ",ring" : ",sync");
}

// Writes `bytes` through the writer's own buffers, flushes and returns its mode.
inline IoMode writeBlocks(BlockWriter& w, const std::vector<std::uint8_t>& bytes)
{
    std::span<std::uint8_t> buf = w.firstBuffer();
    std::size_t pos = 0;
    for (; bytes.size() - pos > buf.size(); pos += buf.size()) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), buf.size(), buf.begin());
        buf = w.submit(buf);
    }
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.size() - pos, buf.begin());
    w.flush(buf.first(bytes.size() - pos));
    return w.mode();
}

} // namespace vantric::test
