// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The machine's file system, acted on from outside just before the run claims the file or the write
// pass opens it, or as a text file is made.

#include "platform/file_system.h"

#include <functional>
#include <string>

namespace vantric::test {

class InspectingFileSystem : public FileSystem {
public:
    explicit InspectingFileSystem(FileSystem& real) : real_(real) {}

    std::function<void()> beforeWrite = [] {};
    std::function<void()> beforeClaim = [] {};
    std::function<void()> whileText = [] {};

    std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path, std::optional<FileId> claimed = std::nullopt) override
    {
        beforeWrite();
        return real_.openBlockWrite(path, claimed);
    }
    std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                               std::optional<FileId> claimed = std::nullopt) override
    {
        return real_.openBlockRead(path, wanted, claimed);
    }
    std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) override
    {
        beforeClaim();
        return real_.claimScratch(path);
    }
    std::optional<std::string> makePrivateFolder(const std::string& base) override
    {
        return real_.makePrivateFolder(base);
    }
    void removeFolder(const std::string& path) noexcept override { real_.removeFolder(path); }
    DriveSpace space(const std::string& folder) override { return real_.space(folder); }
    std::optional<std::uint64_t> regularFileSize(const std::string& path) override
    {
        return real_.regularFileSize(path);
    }
    StoredBytes storedBytes(const std::string& path, std::uint64_t written) override
    {
        return real_.storedBytes(path, written);
    }
    std::unique_ptr<AtomicFile> createAtomic(const std::string& path) override
    {
        auto file = real_.createAtomic(path);
        whileText();
        return file;
    }

private:
    FileSystem& real_;
};

} // namespace vantric::test
