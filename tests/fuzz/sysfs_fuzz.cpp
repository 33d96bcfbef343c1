// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The sysfs tree the drive types are read from: lines "L path target" and
// "F path content" build it in a private folder, the others are mountinfo.
#include "platform/linux/mount_table.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fs::path root = fs::temp_directory_path() / ("vantric-sysfs-fuzz-" + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directory(root, ec);
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string mountinfo;
    std::vector<std::pair<fs::path, std::string>> files, links;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream f(line);
        std::string kind, name, rest;
        f >> kind >> name >> std::ws;
        std::getline(f, rest);
        const auto n = fs::path(name).lexically_normal();
        if ((kind != "F" && kind != "L") || n.empty() || n.is_absolute() || *n.begin() == "..")
            mountinfo += line + "\n";
        else
            (kind == "F" ? files : links).emplace_back(root / n, rest);
    }
    for (const auto& [at, target] : links) {
        fs::create_directories(at.parent_path(), ec);
        fs::create_symlink(target, at, ec);
    }
    // Links that lead out of the tree could reach real devices.
    for (const auto& [at, _] : links) {
        const auto real = fs::weakly_canonical(at, ec).lexically_relative(root);
        if (!ec && (real.empty() || *real.begin() == ".."))
            return 0;
    }
    for (const auto& [at, content] : files) {
        fs::create_directories(at.parent_path(), ec);
        std::ofstream(at) << content << "\n";
    }
    vantric::assignLetters(vantric::parseMountInfo(mountinfo), root.string());
    return 0;
}
