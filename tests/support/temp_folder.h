// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A fresh, empty folder for one test, removed with all it holds at the end.

#include <filesystem>
#include <string>

namespace vantric::test {

// VANTRIC_TEST_ROOT_FOLDER, else /var/tmp (on the root file system, unlike /tmp), else the temporary folder.
std::filesystem::path testBase();

class TempFolder {
public:
    // Under testBase() or `base`.
    TempFolder();
    explicit TempFolder(const std::filesystem::path& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // A name inside the folder, with this system's separator.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace vantric::test
