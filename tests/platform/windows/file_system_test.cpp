// The Windows file layer on real files: unbuffered, overlapped block files,
// the scratch claim and its sharing mode, links refused, private folders
// and the atomic save.

#include "platform/file_channel.h"
#include "platform/file_system.h"
#include "platform/windows/block_file.h"
#include "platform/windows/private_folder.h"
#include "platform/windows/win_test_support.h"
#include "platform/windows/win_text.h"
#include "support/error_reason.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <cerrno>
#include <numeric>

using namespace vantric;
using namespace vantric::test;

namespace {

std::vector<std::uint8_t> pattern(std::size_t n)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>((i * 7 + i / 4096) & 0xFF);
    return v;
}

// Writes `bytes` through a writer of the given options in blocks of the
// writer's buffers, then reads the first `wanted` bytes back.
std::vector<std::uint8_t> roundTrip(FileSystem& fs, const std::string& path, const std::vector<std::uint8_t>& bytes,
                                    std::uint64_t wanted, IoMode* writeMode = nullptr, IoMode* readMode = nullptr)
{
    auto w = fs.openBlockWrite(path);
    w->preallocate(bytes.size());
    std::span<std::uint8_t> buf = w->firstBuffer();
    std::size_t pos = 0;
    while (bytes.size() - pos > buf.size()) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), buf.size(), buf.begin());
        pos += buf.size();
        buf = w->submit(buf);
    }
    const std::size_t tail = bytes.size() - pos;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), tail, buf.begin());
    w->flush(buf.first(tail));
    if (writeMode)
        *writeMode = w->mode();
    w->close();

    auto r = fs.openBlockRead(path, wanted);
    std::vector<std::uint8_t> got;
    for (auto block = r->next(); !block.empty(); block = r->next())
        got.insert(got.end(), block.begin(), block.end());
    if (readMode)
        *readMode = r->mode();
    r->close();
    return got;
}

TEST(BlockFiles, RoundTripInEveryModeAndSize)
{
    TempFolder dir;
    struct Case {
        const char* name;
        IoOptions opt;
        std::size_t size;
        IoMode want;
    } cases[] = {
        {"unbuffered, overlapped, whole blocks", {true, true, true, 64 << 10, 5}, 1 << 20, {true, true}},
        {"unbuffered, overlapped, sector tail", {true, true, true, 64 << 10, 5}, (1 << 20) + 512, {true, true}},
        {"unbuffered, overlapped, 1 KiB (less than a sector of 4096)", {true, true, true, 64 << 10, 5}, 1024,
         {true, true}},
        {"unbuffered, overlapped, odd tail", {true, true, true, 64 << 10, 3}, 300000 + 7, {true, true}},
        {"unbuffered, one call at a time", {true, false, true, 64 << 10, 5}, (1 << 20) + 100, {true, false}},
        {"buffered, overlapped", {false, true, true, 64 << 10, 5}, 777777, {false, true}},
        {"buffered, one call at a time", {false, false, false, 64 << 10, 2}, 5000, {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto fs = systemFileSystem(c.opt);
        const std::string path = dir.file("block.bin");
        const auto bytes = pattern(c.size);
        IoMode wm, rm;
        auto got = roundTrip(*fs, path, bytes, 0, &wm, &rm);
        EXPECT_EQ(readAll(path), bytes);
        EXPECT_TRUE(got == bytes);
        EXPECT_EQ(wm, c.want);
        EXPECT_EQ(rm, c.want);
        // Only the first half is handed out when only that is wanted.
        auto half = roundTrip(*fs, path, bytes, c.size / 2);
        EXPECT_TRUE(half == std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.size / 2)));
        ::DeleteFileW(wide(path).c_str());
    }
}

TEST(BlockFiles, ExistingFileIsWrittenFromItsFirstByteWithoutTruncation)
{
    TempFolder dir;
    const std::string path = dir.file("old.bin");
    writeAll(path, std::vector<std::uint8_t>(10000, 0xAB));
    auto fs = systemFileSystem();
    WriteChannel ch(fs->openBlockWrite(path), path);
    for (int i = 0; i < 1000; ++i) {
        auto room = ch.room();
        room[0] = 0;
        room[1] = 0;
        ch.filledTo(room.data() + 2);
    }
    ch.flush();
    ch.close();
    auto after = readAll(path);
    ASSERT_EQ(after.size(), 10000u);
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.begin() + 2000), std::vector<std::uint8_t>(2000, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(after.begin() + 2000, after.end()), std::vector<std::uint8_t>(8000, 0xAB));
}

TEST(BlockFiles, AlignmentIsTheSectorSizeAtLeastAPage)
{
    DWORD perCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceW(L"C:\\", &perCluster, &bytesPerSector, &freeClusters, &clusters));
    EXPECT_EQ(sectorAlignment("C:\\x"), std::max<std::size_t>(4096, bytesPerSector));
}

TEST(BlockFiles, FoldersAndFilesWithTheNameTakenAreRefused)
{
    TempFolder dir;
    const std::string folder = dir.file("~test.tmp");
    ASSERT_TRUE(::CreateDirectoryW(wide(folder).c_str(), nullptr));
    auto fs = systemFileSystem();
    for (auto open : {+[](FileSystem& f, const std::string& p) { f.openBlockWrite(p); },
                      +[](FileSystem& f, const std::string& p) { f.openBlockRead(p, 0); },
                      +[](FileSystem& f, const std::string& p) { f.claimScratch(p); },
                      +[](FileSystem& f, const std::string& p) { f.regularFileSize(p); }}) {
        auto e = errorOf([&] { open(*fs, folder); });
        ASSERT_TRUE(e) << "a folder was taken for a file";
        EXPECT_EQ(e->reason(), "It is a folder, not a regular file");
        EXPECT_EQ(e->path(), folder);
    }
}

// The test script links a folder on the host into drive C: (Wine shows a
// host symbolic link to a folder as a reparse point).
TEST(BlockFiles, ReparsePointsAreNeverFollowed)
{
    const char* link = std::getenv("VANTRIC_TEST_LINK");
    ASSERT_TRUE(link && *link) << "the test script sets VANTRIC_TEST_LINK to a linked folder";
    DWORD a = ::GetFileAttributesW(wide(link).c_str());
    ASSERT_NE(a, INVALID_FILE_ATTRIBUTES) << link;
    ASSERT_TRUE(a & FILE_ATTRIBUTE_REPARSE_POINT) << link;
    auto fs = systemFileSystem();
    EXPECT_EQ(reasonOf([&] { fs->claimScratch(link); }), "It is a link (a reparse point), not a regular file");
    EXPECT_THROW(fs->openBlockWrite(link), VantricError);
    EXPECT_THROW(fs->regularFileSize(link), VantricError);
}

TEST(ScratchClaim, KeepsASecondCopyOutButLetsTheRunsOwnFilesIn)
{
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    auto fs = systemFileSystem();
    auto claim = fs->claimScratch(path);
    EXPECT_TRUE(exists(path));
    auto second = errorOf([&] { fs->claimScratch(path); });
    ASSERT_TRUE(second) << "a second claim was granted";
    EXPECT_EQ(second->reason(), "Another test is using the file");
    EXPECT_EQ(second->osCode(), EBUSY);
    // Nobody deletes the file under the run.
    EXPECT_FALSE(::DeleteFileW(wide(path).c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    // The run's own writer and reader get in.
    auto got = roundTrip(*fs, path, pattern(8192), 4096);
    EXPECT_EQ(got.size(), 4096u);
    claim->remove();
    EXPECT_FALSE(exists(path));
    // Once it is gone the name is free again.
    fs->claimScratch(path)->remove();
}

TEST(ScratchClaim, LettingGoLeavesTheFileAndItsBytes)
{
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    writeAll(path, {1, 2, 3});
    auto fs = systemFileSystem();
    fs->claimScratch(path).reset();
    EXPECT_EQ(readAll(path), (std::vector<std::uint8_t> {1, 2, 3}));
}

TEST(ScratchClaim, AFileWithAnotherNameIsSomeoneElsesData)
{
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    const std::string other = dir.file("keep.dat");
    writeAll(other, {9, 9});
    ASSERT_TRUE(::CreateHardLinkW(wide(path).c_str(), wide(other).c_str(), nullptr));
    auto fs = systemFileSystem();
    EXPECT_EQ(reasonOf([&] { fs->claimScratch(path); }), "It has other links: another name shares its data");
    EXPECT_EQ(readAll(other), (std::vector<std::uint8_t> {9, 9}));
}

std::string currentUserSid()
{
    HANDLE token = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
    std::uint8_t buf[256];
    DWORD size = sizeof buf;
    ::GetTokenInformation(token, TokenUser, buf, size, &size);
    ::CloseHandle(token);
    wchar_t* sid = nullptr;
    ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buf)->User.Sid, &sid);
    std::string out = utf8(sid);
    ::LocalFree(sid);
    return out;
}

TEST(PrivateFolder, MadeForThisUserAloneAndRemovable)
{
    const std::string me = currentUserSid();
    ASSERT_FALSE(me.empty());
    // What the folder is made with: nothing inherited, the user alone.
    EXPECT_EQ(utf8(privateFolderSddl()), "D:P(A;OICI;FA;;;" + me + ")");

    TempFolder dir;
    auto fs = systemFileSystem();
    auto made = fs->makePrivateFolder(dir.str());
    ASSERT_TRUE(made);
    EXPECT_EQ(made->rfind(dir.str() + "\\vantric-", 0), 0u) << *made;
    PSECURITY_DESCRIPTOR sd = nullptr;
    PACL dacl = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoW(wide(*made).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                      nullptr, &dacl, nullptr, &sd),
              static_cast<DWORD>(ERROR_SUCCESS));
    wchar_t* text = nullptr;
    ASSERT_TRUE(::ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                                       &text, nullptr));
    const std::string acl = utf8(text);
    ::LocalFree(text);
    ::LocalFree(sd);
    // The folder as the system keeps it: the user has full access, and no
    // group of other users (everyone, users, authenticated users) has any.
    EXPECT_NE(acl.find("(A;OICI;FA;;;" + me + ")"), std::string::npos) << acl;
    for (const char* others : {";WD)", ";BU)", ";AU)", ";S-1-1-0)", ";S-1-5-32-545)", ";S-1-5-11)"})
        EXPECT_EQ(acl.find(others), std::string::npos) << acl;

    fs->removeFolder(*made);
    EXPECT_FALSE(exists(*made));
    EXPECT_FALSE(fs->makePrivateFolder(dir.file("missing\\deeper")));
}

TEST(AtomicFile, ReplacesTheTargetOnlyWhenCommitted)
{
    TempFolder dir;
    const std::string path = dir.file("Vantric_Log_2612050907.txt");
    writeAll(path, {'o', 'l', 'd'});
    auto fs = systemFileSystem();
    {
        auto f = fs->createAtomic(path);
        f->write("half");
    }
    EXPECT_EQ(readAll(path), (std::vector<std::uint8_t> {'o', 'l', 'd'}));
    auto f = fs->createAtomic(path);
    f->write("one\r\n");
    f->write(" \r\n");
    f->commit();
    const std::string want = "one\r\n \r\n";
    EXPECT_EQ(readAll(path), std::vector<std::uint8_t>(want.begin(), want.end()));
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW(wide(dir.file("*")).c_str(), &fd);
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
    EXPECT_EQ(files, 1) << "no temporary file is left";
}

TEST(AtomicFile, AFolderThatDoesNotExistIsReportedWithThePath)
{
    TempFolder dir;
    const std::string path = dir.file("missing\\log.txt");
    auto e = errorOf([&] { systemFileSystem()->createAtomic(path); });
    ASSERT_TRUE(e) << "created in a missing folder";
    EXPECT_EQ(e->action(), "Cannot create the file");
    EXPECT_EQ(e->path(), path);
    EXPECT_EQ(e->reason(), systemMessage(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(e->osCode(), ENOENT);
}

TEST(Space, FromGetDiskFreeSpaceEx)
{
    TempFolder dir;
    auto fs = systemFileSystem();
    ULARGE_INTEGER avail {}, total {}, free {};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(wide(dir.str()).c_str(), &avail, &total, &free));
    EXPECT_EQ(fs->totalBytes(dir.str()), total.QuadPart);
    EXPECT_GT(fs->availableBytes(dir.str()), 0u);
    EXPECT_THROW(fs->availableBytes(dir.file("missing")), VantricError);
    EXPECT_FALSE(fs->regularFileSize(dir.file("missing")));
    writeAll(dir.file("five"), {1, 2, 3, 4, 5});
    EXPECT_EQ(fs->regularFileSize(dir.file("five")), 5u);
}

} // namespace
