// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The file layer both systems share, on real files; what only one has is tested beside it.

#include "bench/benchmark_run.h"
#include "platform/file_system.h"
#include "platform/file_bytes.h"
#include "platform/io/file_table.h"
#include "support/error_reason.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace vantric;
using namespace vantric::test;
namespace fs = std::filesystem;

namespace {

// Writes `bytes` to a new writer of `path` and returns its mode.
IoMode writeFile(FileSystem& files, const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    auto w = files.openBlockWrite(path);
    w->preallocate(bytes.size());
    IoMode mode = writeBlocks(*w, bytes);
    w->close();
    return mode;
}

struct Files : ::testing::Test {
    TempFolder dir;
    std::unique_ptr<FileSystem> files = systemFileSystem();
    const std::string scratch = dir.file("~test.tmp");
};

TEST_F(Files, RoundTripInEveryModeAndSize)
{
    // A tail off the sector alignment is written through the cache, and the mode says so.
    struct Case {
        const char* name;
        IoOptions opt;
        std::size_t size;
    } cases[] = {
        {"direct, ring, whole blocks", {true, true, true, 64 << 10, 5}, 1 << 20},
        {"direct, ring, an aligned tail", {true, true, true, 64 << 10, 5}, (1 << 20) + 8192},
        {"direct, ring, less than a sector", {true, true, true, 64 << 10, 5}, 1000},
        {"direct, ring, odd tail, three buffers", {true, true, true, 64 << 10, 3}, 300000 + 7},
        {"direct, ring, odd tail past 1 MiB blocks", {}, 3 * 1048576 + 524288 + 4093},
        {"direct, one call at a time", {true, false, true, 64 << 10, 5}, (1 << 20) + 100},
        {"cached, ring", {false, true, true, 64 << 10, 5}, 777777},
        {"cached, one call at a time", {false, false, false, 64 << 10, 2}, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto fsys = systemFileSystem(c.opt);
        const auto bytes = pattern(c.size);
        EXPECT_EQ(describe(writeFile(*fsys, scratch, bytes)), describe({c.opt.direct && c.size % 4096 == 0, c.opt.async}));
        EXPECT_TRUE(readAll(scratch) == bytes);
        // Only the first half is read, by the run's own loop.
        std::vector<std::uint8_t> got;
        EXPECT_EQ(describe(readPass(*fsys, scratch, static_cast<std::int32_t>(c.size / 2), got)),
                  describe({c.opt.direct, c.opt.async}));
        EXPECT_TRUE(got == std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.size / 2)));
        fs::remove(scratch);
    }
}

TEST_F(Files, FoldersMissingFoldersAndOtherLinksAreRefusedUntouched)
{
    fs::create_directory(scratch);
    for (auto [open, action] :
         {std::pair {+[](FileSystem& f, const std::string& p) { f.openBlockWrite(p); }, "Cannot create the scratch file"},
          {+[](FileSystem& f, const std::string& p) { f.openBlockRead(p, 0); }, "Cannot open the scratch file"},
          {+[](FileSystem& f, const std::string& p) { f.claimScratch(p); }, "Cannot create the scratch file"},
          {+[](FileSystem& f, const std::string& p) { f.regularFileSize(p); }, "Cannot find the size of the scratch file"}}) {
        auto e = errorOf([&] { open(*files, scratch); });
        ASSERT_TRUE(e) << "a folder was taken for a file";
        EXPECT_EQ(e->action(), action);
        EXPECT_EQ(e->reason(), "It is a folder, not a regular file");
        EXPECT_EQ(e->path(), scratch);
    }
    // A missing folder is named with the system's reason.
    const std::string missing = dir.file("missing") + "/~test.tmp";
    for (auto [open, action] :
         {std::pair {+[](FileSystem& f, const std::string& p) { f.openBlockWrite(p); }, "Cannot create the scratch file"},
          {+[](FileSystem& f, const std::string& p) { f.createAtomic(p); }, "Cannot create the file"}}) {
        auto e = errorOf([&] { open(*files, missing); });
        ASSERT_TRUE(e) << "created in a missing folder: " << action;
        EXPECT_EQ(e->action(), action);
        EXPECT_EQ(e->osCode(), ENOENT);
        EXPECT_EQ(e->path(), missing);
    }

    // A file with another name is someone else's data.
    fs::remove(scratch);
    const std::string other = dir.file("keep.dat");
    writeAll(other, {9, 9});
    fs::create_hard_link(other, scratch);
    EXPECT_EQ(reasonOf([&] { files->claimScratch(scratch); }), "It has other links: another name shares its data");
    EXPECT_EQ(readAll(other), (std::vector<std::uint8_t> {9, 9}));
    EXPECT_TRUE(fs::exists(scratch));
}

TEST_F(Files, TheScratchClaimKeepsASecondOneOut)
{
    {
        auto claim = files->claimScratch(scratch);
        EXPECT_TRUE(fs::exists(scratch));
        // The run's own writer gets in.
        writeFile(*files, scratch, pattern(8192));
        auto second = errorOf([&] { files->claimScratch(scratch); });
        ASSERT_TRUE(second) << "a second claim was granted";
        EXPECT_EQ(second->reason(), "Another test is using the file");
        // Read through the run's reader: Windows lets no other open in while claimed.
        std::vector<std::uint8_t> got;
        readPass(*files, scratch, 8192, got);
        EXPECT_TRUE(got == pattern(8192)) << "a refused claim changed the file";
        claim->remove();
        EXPECT_FALSE(fs::exists(scratch));
    }
    // Once it is gone the name is free again.
    files->claimScratch(scratch)->remove();
}

TEST_F(Files, APrivateFolderIsMadeUnderItsBaseAndRemovedWhenEmpty)
{
    auto made = files->makePrivateFolder(dir.str());
    ASSERT_TRUE(made);
    EXPECT_EQ(fs::path(*made).parent_path(), dir.path()) << *made;
    EXPECT_EQ(fs::path(*made).filename().string().rfind("vantric-", 0), 0u) << *made;
    EXPECT_TRUE(fs::is_directory(*made));
    files->removeFolder(*made);
    EXPECT_FALSE(fs::exists(*made));
    EXPECT_FALSE(files->makePrivateFolder(dir.file("missing")));
}

TEST_F(Files, TheAtomicFileReplacesItsTargetOnlyWhenCommitted)
{
    const std::string path = dir.file("Vantric_Log_2612050907.txt");
    writeAll(path, {'o', 'l', 'd'});
    files->createAtomic(path)->write("half"); // dropped without commit
    EXPECT_EQ(readAll(path), (std::vector<std::uint8_t> {'o', 'l', 'd'}));
    auto f = files->createAtomic(path);
    f->write("one\r\n");
    f->write(" \r\n");
    f->commit();
    EXPECT_EQ(readAll(path), (std::vector<std::uint8_t> {'o', 'n', 'e', '\r', '\n', ' ', '\r', '\n'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator {}), 1) << "a temporary file is left";
}

TEST_F(Files, SpaceAndSizeQueries)
{
    const fs::space_info space = fs::space(dir.path());
    EXPECT_EQ(files->space(dir.str()).total, space.capacity);
    EXPECT_GT(files->space(dir.str()).available, 0u);
    EXPECT_LE(files->space(dir.str()).available, space.capacity);
    EXPECT_THROW(files->space(dir.file("missing")), VantricError);
    EXPECT_FALSE(files->regularFileSize(dir.file("missing")));
    writeAll(dir.file("five"), {1, 2, 3, 4, 5});
    EXPECT_EQ(files->regularFileSize(dir.file("five")), 5u);
}

} // namespace
