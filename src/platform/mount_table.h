#pragma once
// Maps the mounted file systems of a Linux machine to drive letters C..Z and
// classifies them by the drive type codes. Pure text and file reading, so it
// can be tested against a mountinfo text and a sysfs tree kept as test data.

#include <functional>
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

// How the scratch folder of a drive is found, with the file-system work
// passed in: the drive's root if the user can create a file there, else the
// home folder, else a private folder under a temp folder, each only if it
// lies on the drive's own file system (by mountinfo device, which btrfs
// subvolumes share).
struct ScratchProbe {
    std::function<bool(const std::string&)> canCreateIn;       // a real create
    std::function<std::string(const std::string&)> realPath;   // "" when missing
    std::function<std::string(const std::string&)> privateFolderUnder; // "" when unusable
};

std::optional<std::string> chooseScratchFolder(const MountEntry& drive, const std::vector<MountEntry>& mounts,
                                               const std::string& home, const std::vector<std::string>& temps,
                                               const ScratchProbe& probe);

} // namespace vantric
