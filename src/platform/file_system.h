#pragma once
// The file operations the run and the log save need from the OS.

#include "platform/io/block_io.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vantric {

// A text file that replaces its target only when committed.
class AtomicFile {
public:
    virtual ~AtomicFile() = default; // discards the file unless committed
    virtual void write(const std::string& bytes) = 0;
    // Flushes to the drive and puts the file in place of the target.
    virtual void commit() = 0;
};

// The run's hold on its scratch file: while it lives no other copy of the
// program can claim the same file.
class ScratchClaim {
public:
    virtual ~ScratchClaim() = default; // lets go of the file, leaving it in place
    // Deletes the file; it was ours, made or taken over by this claim.
    virtual void remove() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Created if missing; an existing file is not truncated and is written
    // from its first byte. Symbolic links and anything that is not a regular
    // file are refused.
    virtual std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path) = 0;
    // `wanted`: how many bytes the caller will read from the start (0 = all),
    // so that nothing past them is read ahead.
    virtual std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted) = 0;
    // Takes the scratch file for this run, creating it if missing. Refuses,
    // leaving it untouched, anything that is not a regular file, a file with
    // other links (someone else's data) and a file another process holds.
    virtual std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) = 0;
    // Makes a new folder only this user can enter, under `base`; nullopt
    // when `base` does not let us.
    virtual std::optional<std::string> makePrivateFolder(const std::string& base) = 0;
    // Removes a folder made by makePrivateFolder, if it is empty.
    virtual void removeFolder(const std::string& path) noexcept = 0;
    virtual std::uint64_t availableBytes(const std::string& folder) = 0;
    // The size of the file system holding folder; 0 where it reports none
    // (ramfs, some FUSE file systems).
    virtual std::uint64_t totalBytes(const std::string& folder) = 0;
    // Size of a regular file, nullopt when nothing is there; throws when
    // something that is not a regular file is there.
    virtual std::optional<std::uint64_t> regularFileSize(const std::string& path) = 0;
    virtual std::unique_ptr<AtomicFile> createAtomic(const std::string& path) = 0;
};

struct IoOptions {
    bool direct = true;      // bypass the page cache where the file system allows
    bool async = true;       // keep blocks in flight while the caller works
    bool preallocate = true; // honour preallocate() with fallocate
    std::size_t blockSize = 1 << 20;
    // One buffer is the caller's, the others are in flight.
    int buffers = 5;
};

std::unique_ptr<FileSystem> systemFileSystem(IoOptions options = {});

} // namespace vantric
