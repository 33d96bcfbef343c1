#include "fakes/inspecting_file_system.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vantric::test {

namespace {

std::vector<std::uint8_t> contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot look into " + path);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

std::unique_ptr<BlockReader> InspectingFileSystem::openBlockRead(const std::string& path, std::uint64_t wanted)
{
    afterWrite = contents(path);
    if (!replaceBeforeRead.empty()) {
        // In place, as an overwrite of the same file.
        std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
        out.write(reinterpret_cast<const char*>(replaceBeforeRead.data()),
                  static_cast<std::streamsize>(replaceBeforeRead.size()));
        if (!out.flush())
            throw std::runtime_error("cannot replace " + path);
    }
    return real_.openBlockRead(path, wanted);
}

void InspectingFileSystem::remove(const std::string& path)
{
    atDeletion = contents(path);
    real_.remove(path);
}

} // namespace vantric::test
