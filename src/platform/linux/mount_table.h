// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Maps the mounted file systems of a Linux machine to drive letters C..Z and
// classifies them by the drive type codes. Pure text and file reading, so it
// can be tested against a mountinfo text and a sysfs tree kept as test data:
// parsing in mount_table.cpp, classifying in mount_classify.cpp, lettering
// in mount_letters.cpp.

#include "platform/drive_source.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

struct MountEntry {
    int id = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::string mountPoint;  // unescaped
    std::string fsType;
    std::string source;      // unescaped
    std::string superOptions; // per file system, e.g. overlay's upperdir=
};

struct LetteredMount {
    char letter = 0;
    MountEntry mount;
    int driveType = 0;
};

// Parses /proc/self/mountinfo text; malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(const std::string& text);

// Undoes the octal escapes (\040 and the like) of mountinfo fields.
std::string unescapeMountField(const std::string& field);

// Whether `path` is `prefix` or lies below it.
bool underPath(const std::string& path, const std::string& prefix);

// Of stacked mounts on one path, the one in view (the last mounted).
std::vector<MountEntry> visibleMounts(const std::vector<MountEntry>& mounts);

bool isExcludedMount(const MountEntry& m);

// Letters in mount order: C is "/", D.. the others sorted by mount point,
// one per file system; nothing past Z. sysfsRoot is where sysfs is found
// ("/sys" on a live system) and is used to classify block devices.
std::vector<LetteredMount> assignLetters(const std::vector<MountEntry>& mounts,
                                         const std::string& sysfsRoot);

int classifyMount(const MountEntry& m, const std::vector<MountEntry>& all,
                  const std::string& sysfsRoot);

// The mount (after stacking) holding path, by longest mount-point prefix.
std::optional<MountEntry> mountOf(const std::vector<MountEntry>& mounts, const std::string& path);

// Whether the file system lettered at the survey is still the one in view at
// its mount point: the same mount (ID and device) and nothing mounted over it.
bool stillMounted(const MountEntry& bound, const std::vector<MountEntry>& now);

// Where the scratch file may go on `drive`, best first: its top folder, then
// the home folder, then our own folder under each temp folder (made for the
// run), each of the latter only if it lies on the drive's own file system (by
// mountinfo device, which btrfs subvolumes share). realPath gives nullopt
// for a folder that is missing.
std::vector<ScratchFolder> scratchCandidates(const MountEntry& drive, const std::vector<MountEntry>& mounts,
                                             const std::string& home, const std::vector<std::string>& temps,
                                             const std::function<std::optional<std::string>(const std::string&)>& realPath);

// What the drive source of a Linux machine reads; replaced by tests.
struct MountSources {
    std::function<std::string()> mountInfo;                 // /proc/self/mountinfo text
    std::string sysfsRoot = "/sys";
    std::function<std::optional<std::string>(const std::string&)> realPath;
    // The mount ID a folder lies on, nullopt when the kernel cannot tell.
    std::function<std::optional<int>(const std::string&)> mountIdOf;
    std::string home;
    std::vector<std::string> temps;
};

// Drives lettered from the mount table read at the first survey; a letter
// stays bound to that file system for as long as the source lives.
std::unique_ptr<DriveSource> mountDriveSource(MountSources sources);

} // namespace vantric
