#include "platform/bounded_call.h"
#include "platform/drive_source.h"
#include "platform/errors.h"
#include "platform/mount_table.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vantric {

namespace {

std::string readMountInfo()
{
    std::ifstream in("/proc/self/mountinfo");
    if (!in)
        throw osError("Cannot list the mounted file systems", errno, "/proc/self/mountinfo");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Mount points whose space query hung once; they fail at once from then on.
std::mutex g_hungMutex;
std::set<std::string> g_hung;

struct statvfs statvfsWithTimeout(const std::string& path)
{
    {
        std::lock_guard lock(g_hungMutex);
        if (g_hung.count(path))
            throw VantricError("Cannot query the drive", "The file system does not answer", path);
    }
    struct Answer {
        int err = 0;
        struct statvfs st {};
    };
    auto answer = callWithin<Answer>(std::chrono::seconds(2), [path] {
        Answer a;
        if (::statvfs(path.c_str(), &a.st) != 0)
            a.err = errno;
        return a;
    });
    if (!answer) {
        std::lock_guard hl(g_hungMutex);
        g_hung.insert(path);
        throw VantricError("Cannot query the drive", "The file system did not answer within 2 seconds", path);
    }
    if (answer->err)
        throw osError("Cannot query the drive", answer->err, path);
    return answer->st;
}

class LinuxDrive : public Drive {
public:
    explicit LinuxDrive(LetteredMount m) : m_(std::move(m)) {}
    int driveType() override { return m_.driveType; }
    std::string driveLetter() override { return std::string(1, m_.letter); }
    double availableSpace() override
    {
        auto st = statvfsWithTimeout(m_.mount.mountPoint);
        return static_cast<double>(st.f_bavail) * static_cast<double>(st.f_frsize);
    }
    double totalSize() override
    {
        auto st = statvfsWithTimeout(m_.mount.mountPoint);
        return static_cast<double>(st.f_blocks) * static_cast<double>(st.f_frsize);
    }

private:
    LetteredMount m_;
};

class LinuxFso : public FileSystemObject {
public:
    LinuxFso() : mounts_(parseMountInfo(readMountInfo())), letters_(assignLetters(mounts_, "/sys")) {}

    std::unique_ptr<Drive> getDrive(const std::string& letter) override
    {
        for (const auto& l : letters_)
            if (letter.size() == 1 && l.letter == letter[0])
                return std::make_unique<LinuxDrive>(l);
        throw VantricError("Drive not found", "No file system has the letter " + letter);
    }

    const std::vector<MountEntry>& mounts() const { return mounts_; }
    const std::vector<LetteredMount>& letters() const { return letters_; }

private:
    std::vector<MountEntry> mounts_;
    std::vector<LetteredMount> letters_;
};

std::string realPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return {};
    std::string r(real);
    std::free(real);
    return r;
}

// A real create proves the folder is usable; the probe file is removed.
bool canCreateIn(const std::string& folder)
{
    std::string tmpl = folder + (folder.ends_with('/') ? "" : "/") + ".vantric-probe-XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(tmpl.c_str());
    return true;
}

// Our own folder under a temp folder: created private, and only trusted
// when it is a real directory that belongs to us.
std::string privateTempFolder(const std::string& base)
{
    std::string dir = base + "/vantric-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return {};
    return dir;
}

class LinuxDriveSource : public DriveSource {
public:
    std::unique_ptr<FileSystemObject> createObject() override { return std::make_unique<LinuxFso>(); }

    std::string scratchFolder(const std::string& letter) override
    {
        LinuxFso fso;
        const LetteredMount* drive = nullptr;
        for (const auto& l : fso.letters())
            if (letter.size() == 1 && l.letter == letter[0])
                drive = &l;
        if (!drive)
            throw VantricError("Cannot test the drive", "No file system has the letter " + letter);
        std::vector<std::string> temps;
        if (const char* t = std::getenv("TMPDIR"); t && *t)
            temps.push_back(t);
        temps.push_back("/tmp");
        temps.push_back("/var/tmp");
        const char* home = std::getenv("HOME");
        auto chosen = chooseScratchFolder(drive->mount, fso.mounts(), home ? home : "", temps,
                                          {canCreateIn, realPath, privateTempFolder});
        if (chosen)
            return *chosen;
        throw VantricError("Cannot test the drive",
                           "You may not create files on this drive, and neither your home folder nor a "
                           "temporary folder lies on it",
                           drive->mount.mountPoint);
    }
};

} // namespace

std::unique_ptr<DriveSource> systemDriveSource()
{
    return std::make_unique<LinuxDriveSource>();
}

} // namespace vantric
