// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "fakes/fake_files.h"

#include "platform/errors.h"

#include <cerrno>

namespace vantric::test {

namespace {

// What every open fake file holds; the file system counts them while open.
struct Held {
    Held(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) { ++fs_.openNow; }
    ~Held() { --fs_.openNow; }
    FakeFileSystem& fs_;
    std::string path_;
    std::vector<std::uint8_t> buf_;
    std::size_t offset_ = 0;
};

class Writer : public BlockWriter, private Held {
public:
    Writer(FakeFileSystem& fs, std::string path) : Held(fs, std::move(path)) { buf_.resize(fs.blockSize); }

    void preallocate(std::uint64_t bytes) override
    {
        fs_.event("preallocate " + std::to_string(bytes));
    }
    std::span<std::uint8_t> firstBuffer() override { return buf_; }
    std::span<std::uint8_t> submit(std::span<const std::uint8_t> filled) override
    {
        put(filled);
        return buf_;
    }
    void flush(std::span<const std::uint8_t> tail) override
    {
        put(tail);
        if (fs_.failSync)
            throw osError("Cannot write to the file", EIO, path_);
        fs_.event("sync");
    }
    void close() override {}
    IoMode mode() const override { return {}; }

private:
    void put(std::span<const std::uint8_t> data)
    {
        auto& file = fs_.files[path_];
        for (std::uint8_t b : data) {
            fs_.takeByte(path_);
            file.resize(std::max(file.size(), offset_ + 1));
            file[offset_++] = b;
        }
    }
};

class Reader : public BlockReader, private Held {
public:
    Reader(FakeFileSystem& fs, std::string path) : Held(fs, std::move(path)) {}
    std::span<const std::uint8_t> next() override
    {
        const auto& file = fs_.files[path_];
        std::size_t n = std::min(fs_.blockSize, file.size() - offset_);
        offset_ += n;
        fs_.bytesRead += n;
        return std::span(file).subspan(offset_ - n, n);
    }
    void close() override {}
    IoMode mode() const override { return {}; }
};

class Atomic : public AtomicFile, private Held {
public:
    Atomic(FakeFileSystem& fs, std::string path) : Held(fs, std::move(path)) {}
    void write(const std::string& bytes) override
    {
        for (char c : bytes) {
            fs_.takeByte(path_);
            buf_.push_back(static_cast<std::uint8_t>(c));
        }
    }
    std::string pendingPath() const override { return path_ + ".pending"; }
    void commit() override { fs_.files[path_] = buf_; }
};

class Claim : public ScratchClaim {
public:
    Claim(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    void remove() override { fs_.remove(path_); }
    void empty() override { fs_.files[path_].clear(), fs_.event("empty"); }
    FileId file() const override { return {0, std::hash<std::string> {}(path_)}; }

private:
    FakeFileSystem& fs_;
    std::string path_;
};

} // namespace

void FakeFileSystem::event(const std::string& what)
{
    if (onEvent)
        onEvent(what);
}

void FakeFileSystem::takeByte(const std::string& path)
{
    if (fullAfter && bytesWritten >= *fullAfter)
        throw osError("Cannot write to the file", ENOSPC, path);
    ++bytesWritten;
}

std::unique_ptr<BlockWriter> FakeFileSystem::openBlockWrite(const std::string& path, std::optional<FileId> claimed)
{
    if (auto it = refuseOpen.find(path); it != refuseOpen.end())
        throw osError("Cannot create the scratch file", it->second, path);
    opened.push_back((claimed ? "write " : "write unclaimed ") + path);
    event("open write");
    files[path]; // created if missing, never truncated
    return std::make_unique<Writer>(*this, path);
}

std::unique_ptr<BlockReader> FakeFileSystem::openBlockRead(const std::string& path, std::uint64_t,
                                                           std::optional<FileId> claimed)
{
    if (failReadOpen || !files.count(path))
        throw osError("Cannot open the scratch file", ENOENT, path);
    opened.push_back((claimed ? "read " : "read unclaimed ") + path);
    event("open read");
    return std::make_unique<Reader>(*this, path);
}

std::unique_ptr<ScratchClaim> FakeFileSystem::claimScratch(const std::string& path)
{
    if (auto it = refuseCreate.find(path); it != refuseCreate.end())
        throw osError("Cannot create the scratch file", it->second, path);
    if (heldByOther.count(path))
        throw VantricError("Cannot create the scratch file", "Another test is using the file", path);
    opened.push_back("claim " + path);
    files[path];
    return std::make_unique<Claim>(*this, path);
}

std::optional<std::string> FakeFileSystem::makePrivateFolder(const std::string& base)
{
    if (refusePrivateUnder.count(base))
        return std::nullopt;
    std::string dir = base + "/vantric-" + std::to_string(folders.size() + removedFolders.size() + 1);
    folders.insert(dir);
    return dir;
}

void FakeFileSystem::removeFolder(const std::string& path) noexcept
{
    // As rmdir: a folder that still holds a file stays.
    if (auto in = files.lower_bound(path + "/"); in != files.end() && in->first.starts_with(path + "/"))
        return;
    folders.erase(path);
    removedFolders.push_back(path);
}

void FakeFileSystem::remove(const std::string& path)
{
    removed.push_back(path);
    if (!files.erase(path))
        throw osError("Cannot delete the file", ENOENT, path);
}

std::optional<std::uint64_t> FakeFileSystem::regularFileSize(const std::string& path)
{
    auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional<std::uint64_t>(it->second.size());
}

StoredBytes FakeFileSystem::storedBytes(const std::string& path, std::uint64_t written)
{
    if (!files.count(path) || failStorage)
        throw osError("Cannot examine the file", failStorage ? EIO : ENOENT, path);
    return storage.value_or(StoredBytes {written, false});
}

std::unique_ptr<AtomicFile> FakeFileSystem::createAtomic(const std::string& path)
{
    if (auto it = refuseOpen.find(path); it != refuseOpen.end())
        throw osError("Cannot create the file", it->second, path);
    opened.push_back("text " + path);
    return std::make_unique<Atomic>(*this, path);
}

} // namespace vantric::test
