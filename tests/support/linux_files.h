#pragma once
// Files on Linux as the kernel sees them.

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace vantric::test {

// The tests' folder, checked to be of the root file system, where direct I/O and the ring work.
inline std::filesystem::path rootFolder()
{
    const std::filesystem::path p = testBase();
    struct stat a {}, b {};
    if (::stat(p.c_str(), &a) != 0 || ::stat("/", &b) != 0 || a.st_dev != b.st_dev)
        ADD_FAILURE() << p << " is not a folder of the root file system; set VANTRIC_TEST_ROOT_FOLDER";
    return p;
}

// Whether this process has an io_uring instance open.
inline bool ringOpen()
{
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec) == "anon_inode:[io_uring]")
            return true;
    }
    return false;
}

} // namespace vantric::test
