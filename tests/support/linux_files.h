// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Files on Linux as the kernel sees them: the mechanism behind an I/O mode, not what the code asked for.

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

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

// The open flags (/proc/self/fdinfo) of each of this process's descriptors of `target`.
inline std::vector<unsigned> openFlagsOf(const std::filesystem::path& target)
{
    std::vector<unsigned> flags;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec) != target)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + e.path().filename().string());
        for (std::string key, octal; info >> key;)
            if (key == "flags:" && info >> octal)
                flags.push_back(static_cast<unsigned>(std::stoul(octal, nullptr, 8)));
    }
    return flags;
}

} // namespace vantric::test
