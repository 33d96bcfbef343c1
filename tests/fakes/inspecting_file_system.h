#pragma once
// The machine's own file system, looked at from outside at two moments of a
// run: when the read pass opens the scratch file (what the write pass left)
// and when the run deletes it; and acted on from outside just before each
// pass opens the file and before the run deletes it.

#include "platform/file_system.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantric::test {

class InspectingFileSystem : public FileSystem {
public:
    explicit InspectingFileSystem(FileSystem& real) : real_(real) {}

    std::vector<std::uint8_t> afterWrite;  // the file as the read pass found it
    std::vector<std::uint8_t> atDeletion;  // the file as the run deleted it
    // Put in the file in place of what the write pass left, before the read
    // pass opens it, so that what the read pass delivers can be told apart
    // from a fresh buffer. Left alone when empty.
    std::vector<std::uint8_t> replaceBeforeRead;
    // Called with "write", "read" or "delete" and the path, just before.
    std::function<void(const std::string&, const std::string&)> meanwhile;

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed = std::nullopt) override
    {
        if (meanwhile)
            meanwhile("write", path);
        return real_.openBlockWrite(path, claimed);
    }
    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed = std::nullopt) override;
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override;
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
    FileSystem& real_;
};

} // namespace vantric::test
