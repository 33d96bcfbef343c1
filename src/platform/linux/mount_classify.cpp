// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// Which mounts are drives, and of which type: the kind of file system, and
// for disks whether the device that holds the bytes is removable.

#include "platform/linux/mount_table.h"
#include "platform/split.h"

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace vantric {

namespace {

const std::set<std::string> kPseudoTypes = {
    "proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue", "debugfs",
    "tracefs", "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs", "autofs",
    "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "rootfs", "selinuxfs", "nfsd",
    "fuse.portal", "fuse.gvfsd-fuse", "cpuset", "binder", "squashfs", "erofs",
};

const std::set<std::string> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "ceph", "glusterfs", "fuse.glusterfs",
    "fuse.sshfs", "sshfs", "afs", "ncpfs", "lustre", "davfs", "fuse.davfs2", "fuse.s3fs",
    "fuse.rclone", "fuse.cephfs", "coda",
};

// Disk file systems, including those whose mounts carry no block device.
const std::set<std::string> kLocalDiskTypes = {
    "zfs", "btrfs", "xfs", "f2fs", "bcachefs", "overlay", "ext2", "ext3", "ext4", "jfs", "reiserfs",
    "nilfs2", "vfat", "exfat", "ntfs", "ntfs3", "hfsplus", "fuseblk",
};

std::string readFirstLine(const fs::path& p)
{
    std::ifstream in(p);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string baseName(const std::string& p)
{
    auto slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// The sysfs node of the block device behind a mount, if any.
std::optional<fs::path> blockNode(const MountEntry& m, const fs::path& sys)
{
    std::error_code ec;
    if (m.major != 0) {
        fs::path p = sys / "dev" / "block" / (std::to_string(m.major) + ":" + std::to_string(m.minor));
        auto c = fs::canonical(p, ec);
        if (!ec)
            return c;
    }
    if (m.source.rfind("/dev/", 0) == 0) {
        std::string name = m.source;
        auto real = fs::canonical(m.source, ec);
        if (!ec)
            name = real.string();
        auto c = fs::canonical(sys / "class" / "block" / baseName(name), ec);
        if (!ec)
            return c;
    }
    return std::nullopt;
}

bool removableNode(fs::path node, const std::vector<MountEntry>& all, const fs::path& sys, int depth);
bool removableBacking(const MountEntry& m, const std::vector<MountEntry>& all, const fs::path& sys, int depth);

std::string superOption(const MountEntry& m, const std::string& key)
{
    for (const auto& opt : splitOn(m.superOptions, ','))
        if (opt.rfind(key + "=", 0) == 0)
            return unescapeMountField(opt.substr(key.size() + 1));
    return {};
}

// Removable when the mount holding path is; a mount is never its own host.
bool removableHostOf(const std::string& path, const MountEntry& m, const std::vector<MountEntry>& all,
                     const fs::path& sys, int depth)
{
    auto host = mountOf(all, path);
    return host && host->id != m.id && removableBacking(*host, all, sys, depth + 1);
}

// Where the bytes of a file system go: its block device; for several
// devices (bcachefs "/dev/a:/dev/b"), any of them; for an overlay, the
// file system of its upper folder; for FUSE, those of the folders it joins
// (mergerfs "/mnt/a:/mnt/b").
bool removableBacking(const MountEntry& m, const std::vector<MountEntry>& all, const fs::path& sys, int depth)
{
    if (depth > 8)
        return false;
    if (auto node = blockNode(m, sys))
        return removableNode(*node, all, sys, depth + 1);
    if (m.fsType == "overlay") {
        std::string upper = superOption(m, "upperdir");
        return !upper.empty() && removableHostOf(upper, m, all, sys, depth);
    }
    for (const auto& part : splitOn(m.source, ':')) {
        if (part.rfind("/dev/", 0) == 0) {
            MountEntry device;
            device.source = part;
            if (auto node = blockNode(device, sys); node && removableNode(*node, all, sys, depth + 1))
                return true;
        } else if (part[0] == '/' && m.fsType.rfind("fuse", 0) == 0) {
            if (removableHostOf(part, m, all, sys, depth))
                return true;
        }
    }
    return false;
}

bool removableNode(fs::path node, const std::vector<MountEntry>& all, const fs::path& sys, int depth)
{
    std::error_code ec;
    if (depth > 8)
        return false;
    if (fs::exists(node / "partition", ec))
        node = node.parent_path();
    if (node.string().find("/usb") != std::string::npos)
        return true;
    // SD and MMC cards: the drive type counts them as removable media.
    if (baseName(node.string()).rfind("mmcblk", 0) == 0)
        return true;
    if (readFirstLine(node / "removable") == "1")
        return true;
    // A loop device is as removable as the file system of its backing file.
    std::string backing = readFirstLine(node / "loop" / "backing_file");
    if (!backing.empty()) {
        if (auto host = mountOf(all, backing))
            return removableBacking(*host, all, sys, depth + 1);
    }
    // Device-mapper and md devices are removable if any of their parts is.
    fs::path slaves = node / "slaves";
    if (fs::is_directory(slaves, ec)) {
        for (const auto& e : fs::directory_iterator(slaves, ec)) {
            auto c = fs::canonical(e.path(), ec);
            if (!ec && removableNode(c, all, sys, depth + 1))
                return true;
        }
    }
    return false;
}

// A FUSE source naming a remote place: "host:/path", "user@host:",
// "//server/share", "scheme://...". Local ones name a device, folders
// ("/mnt/a:/mnt/b") or just the program.
bool networkSource(const std::string& source)
{
    if (source.find("://") != std::string::npos || source.rfind("//", 0) == 0 || source.rfind("\\\\", 0) == 0)
        return true;
    auto colon = source.find(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    std::string before = source.substr(0, colon);
    if (before.find('/') != std::string::npos)
        return false;
    std::string after = source.substr(colon + 1);
    return before.find('@') != std::string::npos || before[0] == '[' || after.empty() || after[0] == '/';
}

} // namespace

bool isExcludedMount(const MountEntry& m)
{
    if (kPseudoTypes.count(m.fsType))
        return true;
    const std::string& p = m.mountPoint;
    if (underPath(p, "/dev/shm") || (underPath(p, "/run/media") && p != "/run/media"))
        return false;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock"})
        if (underPath(p, prefix))
            return true;
    return false;
}

int classifyMount(const MountEntry& m, const std::vector<MountEntry>& all, const std::string& sysfsRoot)
{
    const std::string& t = m.fsType;
    if (kNetworkTypes.count(t))
        return 3;
    std::string dev = baseName(m.source);
    if (t == "tmpfs" || t == "ramfs" || (m.source.rfind("/dev/", 0) == 0 && dev.rfind("zram", 0) == 0))
        return 5;
    if (t == "iso9660" || t == "udf" || (m.source.rfind("/dev/", 0) == 0 && dev.rfind("sr", 0) == 0))
        return 4;
    fs::path sys(sysfsRoot);
    if (auto node = blockNode(m, sys)) {
        if (baseName(node->string()).rfind("zram", 0) == 0)
            return 5;
        if (baseName(node->string()).rfind("sr", 0) == 0)
            return 4;
        return removableNode(*node, all, sys, 0) ? 1 : 2;
    }
    bool fuse = t.rfind("fuse.", 0) == 0;
    if (fuse && networkSource(m.source))
        return 3;
    // Pools and stacked file systems have no block device of their own (ZFS,
    // btrfs and bcachefs use anonymous device numbers).
    if (kLocalDiskTypes.count(t) || fuse || m.major != 0 || m.source.rfind("/dev/", 0) == 0)
        return removableBacking(m, all, sys, 0) ? 1 : 2;
    return 0;
}

} // namespace vantric
