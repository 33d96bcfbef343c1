// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// What only the Windows file layer has, on real files; the rest is in the portable test.

#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/windows/block_hooks.h"
#include "platform/windows/private_folder.h"
#include "platform/windows/win_text.h"
#include "support/error_reason.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <fstream>

using namespace vantric;
using namespace vantric::test;

namespace {

void writeBytes(const std::string& path, std::size_t n)
{
    std::ofstream(std::filesystem::path(wide(path)), std::ios::binary) << std::string(n, '\0');
}

TEST(StoredBytes, WrittenBytesAreHeldInFull)
{
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    writeBytes(path, 1 << 20);
    auto fs = systemFileSystem();
    StoredBytes full = fs->storedBytes(path, 1 << 20);
    EXPECT_EQ(full.stored, 1u << 20);
    EXPECT_FALSE(full.compressed);
    EXPECT_THROW(fs->storedBytes(dir.file("none"), 1), VantricError);
}

TEST(BlockFiles, AlignmentIsTheSectorSizeAtLeastAPage)
{
    DWORD perCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    ASSERT_TRUE(::GetDiskFreeSpaceW(L"C:\\", &perCluster, &bytesPerSector, &freeClusters, &clusters));
    EXPECT_EQ(sectorAlignment("C:\\x"), std::max<std::size_t>(4096, bytesPerSector));
}

// The test script links a host folder into drive C:, which Wine shows as a reparse point.
TEST(BlockFiles, ReparsePointsAreNeverFollowed)
{
    const char* link = std::getenv("VANTRIC_TEST_LINK");
    ASSERT_TRUE(link && *link) << "the test script sets VANTRIC_TEST_LINK to a linked folder";
    DWORD a = ::GetFileAttributesW(wide(link).c_str());
    ASSERT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) << link;
    auto fs = systemFileSystem();
    EXPECT_EQ(reasonOf([&] { fs->claimScratch(link); }), "It is a link (a reparse point), not a regular file");
    EXPECT_THROW(fs->openBlockWrite(link), VantricError);
    EXPECT_THROW(fs->regularFileSize(link), VantricError);
}

// Nobody deletes the file under the run; it goes with the claim's handle, as when the process is killed.
TEST(ScratchClaim, KeepsTheFileFromOthersAndTakesItAlongWhenLetGo)
{
    TempFolder dir;
    const std::string path = dir.file("~test.tmp");
    writeBytes(path, 3);
    auto claim = systemFileSystem()->claimScratch(path);
    EXPECT_FALSE(::DeleteFileW(wide(path).c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    claim.reset();
    EXPECT_EQ(::GetFileAttributesW(wide(path).c_str()), INVALID_FILE_ATTRIBUTES);
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

TEST(PrivateFolder, MadeForThisUserAlone)
{
    const std::string me = currentUserSid();
    ASSERT_FALSE(me.empty());
    // What the folder is made with: nothing inherited, the user alone.
    EXPECT_EQ(utf8(privateFolderSddl()), "D:P(A;OICI;FA;;;" + me + ")");
    TempFolder dir;
    auto fs = systemFileSystem();
    auto made = fs->makePrivateFolder(dir.str());
    ASSERT_TRUE(made);
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
    // As the system keeps it: the user has full access, no group of others (everyone, users, authenticated) any.
    EXPECT_NE(acl.find("(A;OICI;FA;;;" + me + ")"), std::string::npos) << acl;
    for (const char* others : {";WD)", ";BU)", ";AU)", ";S-1-1-0)", ";S-1-5-32-545)", ";S-1-5-11)"})
        EXPECT_EQ(acl.find(others), std::string::npos) << acl;
    fs->removeFolder(*made);
}

} // namespace
