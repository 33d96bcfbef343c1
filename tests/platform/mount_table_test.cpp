#include "platform/mount_table.h"

#include <gtest/gtest.h>

#include <set>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace vantric;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Lays out the sysfs tree described in the test data under a fresh folder.
class SysfsTree {
public:
    SysfsTree()
    {
        root_ = fs::temp_directory_path() / ("vantric-sysfs-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        std::istringstream lines(readFile(fs::path(VANTRIC_TEST_DATA) / "sysfs.txt"));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.empty() || line[0] == '#')
                continue;
            auto sp1 = line.find(' ', 2);
            std::string path = line.substr(2, sp1 - 2), rest = line.substr(sp1 + 1);
            fs::path p = root_ / path;
            fs::create_directories(p.parent_path());
            if (line[0] == 'F')
                std::ofstream(p) << rest << "\n";
            else
                fs::create_directory_symlink(rest, p);
        }
    }
    ~SysfsTree() { fs::remove_all(root_); }
    std::string path() const { return root_.string(); }

private:
    fs::path root_;
};

std::vector<MountEntry> sampleMounts()
{
    return parseMountInfo(readFile(fs::path(VANTRIC_TEST_DATA) / "mountinfo.txt"));
}

TEST(MountInfo, ParsesFieldsAndUndoesEscapes)
{
    auto m = sampleMounts();
    ASSERT_EQ(m.size(), 25u); // the malformed last line is skipped
    EXPECT_EQ(m[0].mountPoint, "/");
    EXPECT_EQ(m[0].major, 8u);
    EXPECT_EQ(m[0].minor, 1u);
    EXPECT_EQ(m[7].root, "/@home");
    EXPECT_EQ(m[7].fsType, "btrfs"); // optional fields before "-" are skipped
    EXPECT_EQ(m[9].mountPoint, "/mnt/my disk");
    EXPECT_EQ(unescapeMountField("a\\011b\\134c\\0"), "a\tb\\c\\0");
}

TEST(MountInfo, AssignsLettersOncePerFileSystemAndClassifies)
{
    SysfsTree sys;
    auto letters = assignLetters(sampleMounts(), sys.path());
    std::vector<std::tuple<char, std::string, int>> got;
    for (const auto& l : letters)
        got.emplace_back(l.letter, l.mount.mountPoint, l.driveType);
    std::vector<std::tuple<char, std::string, int>> want = {
        {'C', "/", 2},
        {'D', "/data", 2},                    // device-mapper over a fixed disk
        {'E', "/dev/shm", 5},
        {'F', "/home", 2},                    // btrfs by its source; the subvolume mount counts once
        {'G', "/media/cdrom", 4},
        {'H', "/mnt/fuse", 0},
        {'I', "/mnt/image", 1},               // loop file on a USB disk
        {'J', "/mnt/my disk", 1},             // USB
        {'K', "/run/media/user/STICK", 1},    // removable flag
        {'L', "/srv/nfs", 3},
        {'M', "/tmp", 5},
        {'N', "/var/cache/z", 5},             // zram
        {'O', "/var/lib/docker/overlay2/x/merged", 0},
    };
    EXPECT_EQ(got, want);
    // Of the two mounts stacked on /tmp, the top one.
    EXPECT_EQ(letters[10].mount.minor, 42u);
}

TEST(MountInfo, SameDeviceKeepsTheShortestMountPoint)
{
    auto m = parseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 8:2 /b /srv/zz rw - ext4 /dev/sda2 rw\n"
                            "3 1 8:2 /a /srv/a rw - ext4 /dev/sda2 rw\n"
                            "4 1 8:1 /x /var/bind rw - ext4 /dev/sda1 rw\n");
    auto letters = assignLetters(m, "/nonexistent");
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0].mount.mountPoint, "/");
    EXPECT_EQ(letters[1].mount.mountPoint, "/srv/a");
    EXPECT_EQ(letters[1].letter, 'D');
}

TEST(MountInfo, NothingPastZ)
{
    std::string text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
    for (int i = 0; i < 30; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "%d 1 0:%d / /mnt/t%02d rw - tmpfs tmpfs rw\n", i + 10, i + 100, i);
        text += name;
    }
    auto letters = assignLetters(parseMountInfo(text), "/nonexistent");
    ASSERT_EQ(letters.size(), 24u);
    EXPECT_EQ(letters.back().letter, 'Z');
    EXPECT_EQ(letters.back().mount.mountPoint, "/mnt/t22");
}

TEST(MountInfo, ExcludesPseudoAndSystemMounts)
{
    struct Case {
        const char* point;
        const char* type;
        bool excluded;
    } cases[] = {
        {"/proc", "proc", true},        {"/mnt/x", "cgroup2", true},  {"/snap/a/1", "squashfs", true},
        {"/mnt/e", "erofs", true},      {"/run/lock", "tmpfs", true}, {"/var/run/x", "tmpfs", true},
        {"/dev/mqueue", "mqueue", true}, {"/dev/hugepages", "hugetlbfs", true}, {"/devices", "ext4", false},
        {"/dev/shm", "tmpfs", false},   {"/run/media/u/KEY", "vfat", false}, {"/run/media", "tmpfs", true},
        {"/home", "ext4", false},       {"/running", "ext4", false},
    };
    for (const auto& c : cases) {
        MountEntry m;
        m.mountPoint = c.point;
        m.fsType = c.type;
        EXPECT_EQ(isExcludedMount(m), c.excluded) << c.point;
    }
}

} // namespace

namespace {

TEST(ScratchFolder, RootThenHomeThenTempsOnTheSameFileSystem)
{
    auto mounts = parseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                 "2 1 0:35 /@home /home rw - btrfs /dev/sda2 rw\n"
                                 "3 1 0:35 /@tmp /var/tmp rw - btrfs /dev/sda2 rw\n"
                                 "4 1 0:40 / /tmp rw - tmpfs tmpfs rw\n");
    auto same = [](const std::string& d) { return d; };
    auto missing = [](const std::string&) { return std::string(); };
    using F = std::vector<ScratchFolder>;
    {
        SCOPED_TRACE("root file system: home and temps lie elsewhere");
        EXPECT_EQ(scratchCandidates(mounts[0], mounts, "/home/u", {"/tmp", "/var/tmp"}, same), (F {{"/"}}));
    }
    {
        SCOPED_TRACE("btrfs subvolumes share the device");
        EXPECT_EQ(scratchCandidates(mounts[1], mounts, "/home/u", {"/tmp", "/var/tmp"}, same),
                  (F {{"/home"}, {"/home/u"}, {"/var/tmp", true}}));
    }
    {
        SCOPED_TRACE("folders that do not exist are left out");
        EXPECT_EQ(scratchCandidates(mounts[1], mounts, "/home/u", {"/var/tmp"}, missing), (F {{"/home"}}));
    }
}

} // namespace
