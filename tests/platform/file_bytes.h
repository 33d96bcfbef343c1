// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Bytes written to and read from files by the file tests of both systems.

#include "bench/benchmark_run.h"
#include "platform/file_system.h"
#include "platform/io/block_io.h"
#include "platform/io/file_table.h"

#include <gtest/gtest.h>

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

// Reads the first `count` bytes with the run's own loop into `out`.
inline IoMode readPass(FileSystem& fsys, const std::string& path, std::int32_t count, std::vector<std::uint8_t>& out)
{
    FileTable files(fsys);
    FormVariables st;
    st.lngCount = count;
    st.bytBuffer.resize(static_cast<std::size_t>(count));
    auto n = files.freeFile();
    files.openRead(n, path, static_cast<std::uint64_t>(count));
    readLoop(files.reader(n), st);
    IoMode mode = files.reader(n).mode();
    files.close(n);
    EXPECT_EQ(st.lngIndex, count + 1);
    out.assign(st.bytBuffer.begin(), st.bytBuffer.end());
    return mode;
}

} // namespace vantric::test
