// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/mount_table.h"
#include "support/error_reason.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

std::string testData(const char* name)
{
    std::ifstream in(fs::path(VANTRIC_TEST_DATA) / name);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The sysfs tree of the test data ("F path content", "L path target") under a fresh folder.
struct SysfsTree : vantric::test::TempFolder {
    SysfsTree()
    {
        std::istringstream lines(testData("sysfs.txt"));
        for (std::string kind, name, rest; lines >> kind >> name && std::getline(lines >> std::ws, rest);) {
            fs::create_directories((path() / name).parent_path());
            if (kind == "F")
                std::ofstream(path() / name) << rest << "\n";
            else
                fs::create_directory_symlink(rest, path() / name);
        }
    }
};

TEST(MountInfo, ParsesAssignsLettersOncePerFileSystemAndClassifies)
{
    const auto m = parseMountInfo(testData("mountinfo.txt"));
    ASSERT_EQ(m.size(), 18u); // the malformed last line is skipped
    EXPECT_EQ(unescapeMountField("a\\011b\\134c\\0"), "a\tb\\c\\0");

    SysfsTree sys;
    auto letters = assignLetters(m, sys.str());
    std::vector<std::tuple<char, std::string, int>> got;
    for (const auto& l : letters)
        got.emplace_back(l.letter, l.mount.mountPoint, l.driveType);
    const std::vector<std::tuple<char, std::string, int>> want = {
        {'C', "/", 2},
        {'D', "/data", 2},                    // device-mapper over a fixed disk
        {'E', "/dev/shm", 5},
        {'F', "/home", 2},                    // btrfs by its source; the subvolume mount counts once
        {'G', "/media/cdrom", 4},
        {'H', "/mnt/fuse", 2},                // local FUSE
        {'I', "/mnt/image", 1},               // loop file on a USB disk
        {'J', "/mnt/my disk", 1},             // USB, the blank unescaped
        {'K', "/run/media/user/STICK", 1},    // removable flag
        {'L', "/srv/nfs", 3},
        {'M', "/tmp", 5},
        {'N', "/var/cache/z", 5},             // zram
        {'O', "/var/lib/docker/overlay2/x/merged", 2},
    };
    EXPECT_EQ(got, want);
    // Of the two mounts stacked on /tmp, the top one.
    EXPECT_EQ(letters[10].mount.minor, 42u);
}

TEST(MountInfo, EveryLocalDiskFileSystemIsAHardDisk)
{
    SysfsTree sys;
    const std::string base = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                             "2 1 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw\n"
                             "3 1 8:3 / /mnt/a rw - ext4 /dev/sda3 rw\n"
                             "4 1 0:60 / /run/live/overlay rw - tmpfs tmpfs rw\n";
    struct Case {
        const char* name;
        std::string mountinfo; // added to the base mounts
        const char* point;     // the mount classified
        int want;
    } cases[] = {
        {"ZFS root", "9 0 0:25 / / rw - zfs rpool/ROOT/debian rw,xattr,posixacl\n", "/", 2},
        // An overlay lies where its upper folder does.
        {"container overlay root", "9 0 0:50 / / rw - overlay overlay rw,lowerdir=/l,upperdir=/var/lib/docker/x/diff\n",
         "/", 2},
        {"overlay written to a USB disk", "9 1 0:52 / /m rw - overlay overlay rw,lowerdir=/srv,upperdir=/mnt/usb/up\n",
         "/m", 1},
        {"mergerfs over fixed disks", "9 1 0:53 / /pool rw - fuse.mergerfs /mnt/a:/mnt/a/b rw\n", "/pool", 2},
        {"mergerfs with a USB branch", "9 1 0:54 / /pool rw - fuse.mergerfs /mnt/a:/mnt/usb rw\n", "/pool", 1},
        {"FUSE over user@host", "9 1 0:56 / /remote rw - fuse.unknownfs user@host:x rw\n", "/remote", 3},
        {"FUSE over host:/path", "9 1 0:57 / /remote rw - fuse.unknownfs server:/export rw\n", "/remote", 3},
        {"FUSE over a URL", "9 1 0:58 / /remote rw - fuse.unknownfs https://example.org/dav rw\n", "/remote", 3},
        {"btrfs on a USB disk", "9 1 0:31 / /b rw - btrfs /dev/sdb1 rw\n", "/b", 1},
        {"bcachefs with a removable part", "9 1 0:33 / /c rw - bcachefs /dev/sda3:/dev/sdd1 rw\n", "/c", 1},
        {"SD card in a built-in reader", "9 1 179:1 / /media/sd rw - ext4 /dev/mmcblk0p1 rw\n", "/media/sd", 1},
        {"ramfs", "9 1 0:34 / /r rw - ramfs ramfs rw\n", "/r", 5},
        {"unknown type without a device", "9 1 0:37 / /v rw - virtiofs share rw\n", "/v", 0},
    };
    for (const auto& c : cases) {
        auto mounts = parseMountInfo(base + c.mountinfo);
        auto target = mountOf(mounts, c.point);
        ASSERT_TRUE(target && target->mountPoint == c.point) << c.name;
        EXPECT_EQ(classifyMount(*target, mounts, sys.str()), c.want) << c.name;
    }
}

TEST(MountInfo, SameDeviceKeepsTheShortestMountPointAndNothingGoesPastZ)
{
    std::string text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                       "2 1 8:2 /b /srv/zz rw - ext4 /dev/sda2 rw\n"
                       "3 1 8:2 /a /srv/a rw - ext4 /dev/sda2 rw\n"
                       "4 1 8:1 /x /var/bind rw - ext4 /dev/sda1 rw\n";
    auto letters = assignLetters(parseMountInfo(text), "/nonexistent");
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[1].mount.mountPoint, "/srv/a");
    for (int i = 10; i < 40; ++i)
        text += std::to_string(i) + " 1 0:" + std::to_string(i) + " / /mnt/t" + std::to_string(i)
                + " rw - tmpfs tmpfs rw\n";
    letters = assignLetters(parseMountInfo(text), "/nonexistent");
    ASSERT_EQ(letters.size(), 24u);
    EXPECT_EQ(letters.back().mount.mountPoint, "/mnt/t32");
}

TEST(MountInfo, ExcludesPseudoAndSystemMounts)
{
    struct Case {
        const char* point;
        const char* type;
        bool excluded;
    } cases[] = {
        {"/run/lock", "tmpfs", true},  {"/var/run/x", "tmpfs", true}, {"/devices", "ext4", false},
        {"/run/media", "tmpfs", true}, {"/running", "ext4", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isExcludedMount({.mountPoint = c.point, .fsType = c.type}), c.excluded) << c.point;
}

TEST(ScratchFolder, RootThenHomeThenTempsOnTheSameFileSystem)
{
    auto mounts = parseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                 "2 1 0:35 /@home /home rw - btrfs /dev/sda2 rw\n"
                                 "3 1 0:35 /@tmp /var/tmp rw - btrfs /dev/sda2 rw\n"
                                 "4 1 0:40 / /tmp rw - tmpfs tmpfs rw\n");
    auto same = [](const std::string& d) -> std::optional<std::string> { return d; };
    auto missing = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    using F = std::vector<ScratchFolder>;
    // Home and temps lie off the root file system; btrfs subvolumes share a device; missing folders go.
    EXPECT_EQ(scratchCandidates(mounts[0], mounts, "/home/u", {"/tmp", "/var/tmp"}, same), (F {{"/"}}));
    EXPECT_EQ(scratchCandidates(mounts[1], mounts, "/home/u", {"/tmp", "/var/tmp"}, same),
              (F {{"/home"}, {"/home/u"}, {"/var/tmp", true}}));
    EXPECT_EQ(scratchCandidates(mounts[1], mounts, "/home/u", {"/var/tmp"}, missing), (F {{"/home"}}));
}

const std::string kRoot = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
const std::string kData = "2 1 8:17 / /data rw - ext4 /dev/sdb1 rw\n";
const std::string kSrv = "3 1 8:33 / /srv rw - xfs /dev/sdc1 rw\n";

TEST(DriveBinding, AClickTestsTheSurveyedFileSystemOrNothing)
{
    const std::string all = kRoot + kData + kSrv;
    const struct {
        const char* name;
        std::string table; // the mounts at the click
        int srvMountId;    // the mount the kernel finds /srv on; 0: it cannot tell
        bool bound;        // E: still runs in /srv
    } changes[] = {
        {"nothing changed", all, 0, true},
        {"another file system mounted before it would shift the letters",
         all + "4 1 0:50 / /mnt/x rw - tmpfs tmpfs rw\n5 1 8:49 / /a rw - ext4 /dev/sdd1 rw\n", 0, true},
        {"unmounted", kRoot + kData, 0, false},
        {"replaced by another at the same mount point", kRoot + kData + "9 1 0:51 / /srv rw - tmpfs tmpfs rw\n", 0,
         false},
        {"same device mounted again (a new mount)", kRoot + kData + "9 1 8:33 / /srv rw - xfs /dev/sdc1 rw\n", 0,
         false},
        {"covered by a mount on top", all + "9 3 0:52 / /srv rw - tmpfs tmpfs rw\n", 0, false},
        {"the kernel finds the folder on another mount", all, 7, false},
        {"the kernel agrees", all, 3, true},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        std::string table = all;
        int srvMountId = 0;
        auto drives = mountDriveSource({
            .mountInfo = [&] { return table; },
            .sysfsRoot = "/nonexistent",
            .realPath = [](const std::string& p) -> std::optional<std::string> { return p; },
            .mountIdOf = [&](const std::string& p) {
                return p == "/srv" && srvMountId ? std::optional(srvMountId) : std::nullopt;
            },
        });
        ASSERT_TRUE(drives->createObject()->getDrive("E")); // the survey: C /, D /data, E /srv
        table = c.table;
        srvMountId = c.srvMountId;
        // The letters shown stay those of the survey.
        EXPECT_THROW(drives->createObject()->getDrive("F"), VantricError);
        std::vector<ScratchFolder> folders;
        auto e = test::errorOf([&] { folders = drives->scratchFolders("E"); });
        if (c.bound) {
            ASSERT_FALSE(e) << e->reason();
            EXPECT_EQ(folders.at(0).path, "/srv");
        } else {
            ASSERT_TRUE(e) << "a click on E went ahead";
            EXPECT_EQ(e->path(), "/srv");
            EXPECT_NE(e->reason().find("E: is no longer available"), std::string::npos) << e->reason();
        }
    }
}

} // namespace
