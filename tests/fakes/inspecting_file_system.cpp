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

std::unique_ptr<BlockReader> InspectingFileSystem::openBlockRead(const std::string& path, std::uint64_t wanted,
                                                                 std::optional<FileId> claimed)
{
    afterWrite = contents(path);
    if (meanwhile)
        meanwhile("read", path);
    if (!replaceBeforeRead.empty()) {
        // In place, as an overwrite of the same file.
        std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
        out.write(reinterpret_cast<const char*>(replaceBeforeRead.data()),
                  static_cast<std::streamsize>(replaceBeforeRead.size()));
        if (!out.flush())
            throw std::runtime_error("cannot replace " + path);
    }
    return real_.openBlockRead(path, wanted, claimed);
}

namespace {

class InspectedClaim : public ScratchClaim {
public:
    InspectedClaim(std::unique_ptr<ScratchClaim> real, std::string path, InspectingFileSystem& fs)
        : real_(std::move(real)), path_(std::move(path)), fs_(fs)
    {
    }
    void remove() override
    {
        fs_.atDeletion = contents(path_);
        if (fs_.meanwhile)
            fs_.meanwhile("delete", path_);
        real_->remove();
    }
    FileId file() const override { return real_->file(); }

private:
    std::unique_ptr<ScratchClaim> real_;
    std::string path_;
    InspectingFileSystem& fs_;
};

} // namespace

std::unique_ptr<ScratchClaim> InspectingFileSystem::claimScratch(const std::string& path)
{
    return std::make_unique<InspectedClaim>(real_.claimScratch(path), path, *this);
}

} // namespace vantric::test
