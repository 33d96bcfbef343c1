#include "support/open_flags.h"

#include <fstream>
#include <string>

namespace vantric::test {

std::vector<unsigned> openFlagsOf(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    std::vector<unsigned> flags;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(e.path(), ec) != path)
            continue;
        std::ifstream info("/proc/self/fdinfo/" + e.path().filename().string());
        for (std::string key, octal; info >> key;)
            if (key == "flags:" && info >> octal)
                flags.push_back(static_cast<unsigned>(std::stoul(octal, nullptr, 8)));
    }
    return flags;
}

} // namespace vantric::test
