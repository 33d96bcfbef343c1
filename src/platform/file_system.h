// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The file operations the run and the log save need from the OS.

#include "platform/drive_source.h"
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
    // Where the file is written until committed.
    virtual std::string pendingPath() const = 0;
    virtual void write(const std::string& bytes) = 0;
    // Flushes to the drive and puts the file in place of the target.
    virtual void commit() = 0;
};

// Which file a name leads to, on its drive: names can be swapped under a
// run, the file it claimed cannot.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};

// The run's hold on its scratch file: while it lives no other copy of the
// program can claim the same file.
class ScratchClaim {
public:
    // Lets go of the file. Windows deletes it then, as it does for a
    // process that is killed; Linux leaves it in place.
    virtual ~ScratchClaim() = default;
    // Deletes the file, made or taken over by this claim, but only while its
    // name still leads to it: another file that has taken the name is left
    // alone and the delete refused.
    virtual void remove() = 0;
    // Empties the claimed file, so that the write pass allocates every
    // block it writes, as a first run does.
    virtual void empty() = 0;
    virtual FileId file() const = 0;
};

// How a file system holds the first bytes of a file once they are written.
struct StoredBytes {
    // Bytes kept on the drive as they were written; what it compressed or
    // left out as holes does not count.
    std::uint64_t stored = 0;
    // Some of the bytes were compressed or left out, so fewer reached the
    // drive than were written.
    bool compressed = false;
};

// `held` bytes of the `written` kept as written; more than written is all.
inline StoredBytes storedOf(std::uint64_t held, std::uint64_t written)
{
    held = held < written ? held : written;
    return {held, held < written};
}

inline constexpr const char* kNameTaken = "Another file has taken its name since the test began";
inline constexpr const char* kSizeQuery = "Cannot find the size of the scratch file";
inline constexpr const char* kEmptying = "Cannot empty the scratch file";

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Created if missing; an existing file is not truncated and is written
    // from its first byte. Symbolic links and anything that is not a regular
    // file are refused. With `claimed`, the file must already be there and be
    // that one: another file at the name is refused before a byte moves.
    virtual std::unique_ptr<BlockWriter> openBlockWrite(const std::string& path,
                                                        std::optional<FileId> claimed = std::nullopt) = 0;
    // `wanted`: how many bytes the caller will read from the start (0 = all),
    // so that nothing past them is read ahead.
    virtual std::unique_ptr<BlockReader> openBlockRead(const std::string& path, std::uint64_t wanted,
                                                       std::optional<FileId> claimed = std::nullopt) = 0;
    // Takes the scratch file for this run, creating it if missing. Refuses,
    // leaving it untouched, anything that is not a regular file, a file with
    // other links (someone else's data) and a file another process holds.
    virtual std::unique_ptr<ScratchClaim> claimScratch(const std::string& path) = 0;
    // Makes a new folder only this user can enter, under `base`; nullopt
    // when `base` does not let us.
    virtual std::optional<std::string> makePrivateFolder(const std::string& base) = 0;
    // Removes a folder made by makePrivateFolder, if it is empty.
    virtual void removeFolder(const std::string& path) noexcept = 0;
    // The space of the file system holding folder; its total is 0 where it
    // reports none (ramfs, some FUSE file systems).
    virtual DriveSpace space(const std::string& folder) = 0;
    // Size of a regular file, nullopt when nothing is there; throws when
    // something that is not a regular file is there.
    virtual std::optional<std::uint64_t> regularFileSize(const std::string& path) = 0;
    // How the first `written` bytes of the file at `path` are held, after
    // they have been flushed.
    virtual StoredBytes storedBytes(const std::string& path, std::uint64_t written) = 0;
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
