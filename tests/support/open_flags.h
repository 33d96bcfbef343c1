#pragma once
// What the kernel holds for this process's open files: the mechanism behind
// an I/O mode, not what the code says it asked for.

#include <filesystem>
#include <vector>

namespace vantric::test {

// The open flags (/proc/self/fdinfo) of each of this process's descriptors
// of `path`.
std::vector<unsigned> openFlagsOf(const std::filesystem::path& path);

} // namespace vantric::test
