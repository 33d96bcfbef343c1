#pragma once
// The read pass as a run makes it, for tests that check bytes and modes.

#include "bench/benchmark_run.h"
#include "platform/file_system.h"
#include "platform/io/file_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantric::test {

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
