#pragma once
// Maps the mounted file systems of a Linux machine to drive letters C..Z and
// classifies them by the drive type codes. Pure text and file reading, so it
// can be tested against a mountinfo text and a sysfs tree kept as test data.

#include <optional>
#include <string>
#include <vector>

namespace vantric {

struct MountEntry {
    int id = 0;
    int parent = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;        // path inside the file system
    std::string mountPoint;  // unescaped
    std::string fsType;
    std::string source;      // unescaped
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

} // namespace vantric
