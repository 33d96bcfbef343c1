// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Files in memory with faults on demand: refused opens, a full device, a failing sync, a held file.

#include "platform/file_system.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vantric::test {

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::map<std::string, int> refuseOpen;         // path -> errno of the refusal
    std::map<std::string, int> refuseCreate;       // path -> errno, for the scratch claim
    std::set<std::string> heldByOther;             // scratch files another process has claimed
    std::set<std::string> folders;                 // private folders in place now
    std::set<std::string> refusePrivateUnder;      // bases where no folder can be made
    std::vector<std::string> removedFolders;
    std::optional<std::uint64_t> fullAfter; // bytes the device takes before it is full
    bool failSync = false;
    bool failReadOpen = false;
    std::uint64_t available = 1ULL << 40;
    std::uint64_t total = 1ULL << 41;     // 0: a file system that reports no size
    std::size_t blockSize = 64;
    // What storedBytes answers; unset: every written byte held as written.
    std::optional<StoredBytes> storage;
    bool failStorage = false;

    std::vector<std::string> removed;
    std::vector<std::string> opened;      // "write path" / "read path" ("write unclaimed path"...) / "text path"
    std::uint64_t bytesWritten = 0;
    std::uint64_t bytesRead = 0;
    int openNow = 0;                      // files open at this moment
    // Told of each open of a pass ("open write"), emptying ("empty"), preallocation ("preallocate N") and sync.
    std::function<void(const std::string&)> onEvent;

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed = std::nullopt) override;
    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed = std::nullopt) override;
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override;
    std::optional<std::string> makePrivateFolder(const std::string& base) override;
    void removeFolder(const std::string& path) noexcept override;
    void remove(const std::string& path);
    DriveSpace space(const std::string&) override { return {available, total}; }
    std::optional<std::uint64_t> regularFileSize(const std::string& path) override;
    StoredBytes storedBytes(const std::string& path, std::uint64_t written) override;
    std::unique_ptr<AtomicFile> createAtomic(const std::string& path) override;

    // Counts one byte onto the device; throws ENOSPC once it is full.
    void takeByte(const std::string& path);
    void event(const std::string& what);
};

} // namespace vantric::test
