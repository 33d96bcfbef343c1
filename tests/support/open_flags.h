#pragma once
// The open flags the kernel holds: the mechanism behind an I/O mode, not what the code asked for.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vantric::test {

// The open flags (/proc/self/fdinfo) of each of this process's descriptors of `path`.
inline std::vector<unsigned> openFlagsOf(const std::filesystem::path& path)
{
    std::vector<unsigned> flags;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec) != path)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + e.path().filename().string());
        for (std::string key, octal; info >> key;)
            if (key == "flags:" && info >> octal)
                flags.push_back(static_cast<unsigned>(std::stoul(octal, nullptr, 8)));
    }
    return flags;
}

} // namespace vantric::test
