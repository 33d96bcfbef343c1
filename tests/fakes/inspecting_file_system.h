#pragma once
// The machine's file system, acted on from outside just before a pass opens the file or the run deletes it.

#include "platform/file_system.h"

#include <functional>
#include <string>

namespace vantric::test {

class InspectingFileSystem : public FileSystem {
public:
    explicit InspectingFileSystem(FileSystem& real) : real_(real) {}

    // Called with "write", "read" or "delete" and the path, just before.
    std::function<void(const std::string&, const std::string&)> meanwhile;

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed = std::nullopt) override
    {
        meanwhile("write", path);
        return real_.openBlockWrite(path, claimed);
    }
    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed = std::nullopt) override
    {
        meanwhile("read", path);
        return real_.openBlockRead(path, wanted, claimed);
    }
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override
    {
        return std::make_unique<Claim>(real_.claimScratch(path), path, *this);
    }
    std::optional<std::string> makePrivateFolder(const std::string& base) override
    {
        return real_.makePrivateFolder(base);
    }
    void removeFolder(const std::string& path) noexcept override { real_.removeFolder(path); }
    std::uint64_t availableBytes(const std::string& folder) override { return real_.availableBytes(folder); }
    std::uint64_t totalBytes(const std::string& folder) override { return real_.totalBytes(folder); }
    std::optional<std::uint64_t> regularFileSize(const std::string& path) override
    {
        return real_.regularFileSize(path);
    }
    StoredBytes storedBytes(const std::string& path, std::uint64_t written) override
    {
        return real_.storedBytes(path, written);
    }
    std::unique_ptr<AtomicFile> createAtomic(const std::string& path) override { return real_.createAtomic(path); }

private:
    class Claim : public ScratchClaim {
    public:
        Claim(std::unique_ptr<ScratchClaim> real, std::string path, InspectingFileSystem& fs)
            : real_(std::move(real)), path_(std::move(path)), fs_(fs)
        {
        }
        void remove() override
        {
            fs_.meanwhile("delete", path_);
            real_->remove();
        }
        FileId file() const override { return real_->file(); }

    private:
        std::unique_ptr<ScratchClaim> real_;
        std::string path_;
        InspectingFileSystem& fs_;
    };

    FileSystem& real_;
};

} // namespace vantric::test
