// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "support/temp_folder.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vantric::test {

fs::path testBase()
{
    if (const char* env = std::getenv("VANTRIC_TEST_ROOT_FOLDER"); env && *env)
        return env;
    std::error_code ec;
    const fs::path varTmp = "/var/tmp"; // not a full path on Windows
    if (varTmp.is_absolute() && fs::is_directory(varTmp, ec))
        return varTmp;
    return fs::temp_directory_path();
}

TempFolder::TempFolder() : TempFolder(testBase()) {}

TempFolder::TempFolder(const fs::path& base)
{
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
        fs::path p = base / ("vantric-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p;
            return;
        }
        if (ec)
            throw std::runtime_error("cannot make a test folder under " + base.string() + ": " + ec.message());
    }
    throw std::runtime_error("no free test folder name under " + base.string());
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

} // namespace vantric::test
