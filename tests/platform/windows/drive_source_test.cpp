// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The drives as Windows reports them, on those Wine maps: C: (the prefix's drive_c), Z: (the host's root).

#include "platform/drive_source.h"
#include "platform/windows/drive_types.h"
#include "platform/windows/win_text.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace vantric;

namespace {

TEST(DriveTypes, GetDriveTypeInTheNumberingOfTheDriveObject)
{
    const std::pair<UINT, std::optional<int>> cases[] = {
        {DRIVE_UNKNOWN, 0}, {DRIVE_NO_ROOT_DIR, std::nullopt}, {DRIVE_REMOVABLE, 1}, {DRIVE_FIXED, 2},
        {DRIVE_REMOTE, 3},  {DRIVE_CDROM, 4},                  {DRIVE_RAMDISK, 5},
    };
    for (const auto& [type, code] : cases)
        EXPECT_EQ(driveTypeCode(type), code) << type;
}

TEST(Drives, EveryLetterOfGetLogicalDrivesAndNoOther)
{
    auto fso = systemDriveSource()->createObject();
    const DWORD mask = ::GetLogicalDrives();
    ASSERT_TRUE(mask & (1u << ('C' - 'A'))) << "Wine maps C: to its prefix";
    for (char c = 'C'; c <= 'Z'; ++c) {
        const std::string letter(1, c);
        if (mask & (1u << (c - 'A'))) {
            auto drive = fso->getDrive(letter);
            EXPECT_EQ(drive->driveLetter(), letter);
            const wchar_t root[] = {static_cast<wchar_t>(c), L':', L'\\', 0};
            EXPECT_EQ(drive->driveType(), driveTypeCode(::GetDriveTypeW(root)).value_or(-1)) << letter;
        } else {
            EXPECT_THROW(fso->getDrive(letter), VantricError) << letter;
        }
    }
    EXPECT_THROW(fso->getDrive(""), VantricError);
    EXPECT_THROW(fso->getDrive("CD"), VantricError);
    // C: has the size Windows reports; the free space moves with other users of the disk.
    auto c = fso->getDrive("C");
    ULARGE_INTEGER avail {}, total {}, free {};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", &avail, &total, &free));
    const DriveSpace space = c->space();
    EXPECT_EQ(space.total, total.QuadPart);
    EXPECT_GT(space.available, 0u);
    EXPECT_LE(space.available, space.total);
}

// The root, then the temporary folder where it is on the drive, then a private folder in the root.
TEST(Drives, ScratchFoldersOfADrive)
{
    auto source = systemDriveSource();
    wchar_t temp[MAX_PATH + 1];
    std::string tempFolder = utf8(std::wstring(temp, ::GetTempPathW(MAX_PATH + 1, temp)));
    tempFolder.pop_back(); // the trailing separator
    ASSERT_TRUE(tempFolder.starts_with("C:\\")) << "Wine keeps the temporary folder on C:";
    ASSERT_TRUE(::GetLogicalDrives() & (1u << ('Z' - 'A'))) << "Wine maps Z: to the host's root";
    EXPECT_EQ(source->scratchFolders("C"), (std::vector<ScratchFolder> {{"C:\\"}, {tempFolder}, {"C:\\", true}}));
    EXPECT_EQ(source->scratchFolders("Z"), (std::vector<ScratchFolder> {{"Z:\\"}, {"Z:\\", true}}));
    EXPECT_THROW(source->scratchFolders("B"), VantricError);
    EXPECT_EQ(source->letterHolding(tempFolder), "C");
    EXPECT_FALSE(source->letterHolding("\\\\nowhere\\share"));
    EXPECT_EQ(source->describe("C").mountPoint, "C:\\");
    EXPECT_FALSE(source->describe("C").fsType.empty());
}

} // namespace
