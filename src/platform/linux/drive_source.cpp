// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/drive_queries.h"
#include "platform/drive_source.h"
#include "platform/errors.h"
#include "platform/linux/mount_table.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
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

DriveQueries g_space("file system");

struct statvfs statvfsWithTimeout(const std::string& path)
{
    struct Answer {
        int err = 0;
        struct statvfs st {};
    };
    const Answer answer = g_space.ask<Answer>(path, [path] {
        Answer a;
        if (::statvfs(path.c_str(), &a.st) != 0)
            a.err = errno;
        return a;
    });
    if (answer.err)
        throw osError("Cannot query the drive", answer.err, path);
    return answer.st;
}

class LinuxDrive : public Drive {
public:
    explicit LinuxDrive(LetteredMount m) : m_(std::move(m)) {}
    int driveType() override { return m_.driveType; }
    std::string driveLetter() override { return std::string(1, m_.letter); }
    DriveSpace space() override
    {
        auto st = statvfsWithTimeout(m_.mount.mountPoint);
        return {static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize,
                static_cast<std::uint64_t>(st.f_blocks) * st.f_frsize};
    }

private:
    LetteredMount m_;
};

class TableFso : public FileSystemObject {
public:
    explicit TableFso(const std::vector<LetteredMount>& letters) : letters_(letters) {}

    std::unique_ptr<Drive> getDrive(const std::string& letter) override
    {
        for (const auto& l : letters_)
            if (letter.size() == 1 && l.letter == letter[0])
                return std::make_unique<LinuxDrive>(l);
        throw VantricError("Drive not found", "No file system has the letter " + letter);
    }

private:
    const std::vector<LetteredMount>& letters_;
};

std::optional<std::string> realPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return std::nullopt;
    std::string r(real);
    std::free(real);
    return r;
}

std::optional<int> mountIdOf(const std::string& path)
{
    struct statx stx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_MNT_ID, &stx) == 0 && (stx.stx_mask & STATX_MNT_ID))
        return static_cast<int>(stx.stx_mnt_id);
    return std::nullopt;
}

class MountDriveSource : public DriveSource {
public:
    explicit MountDriveSource(MountSources src) : src_(std::move(src)) {}

    std::unique_ptr<FileSystemObject> createObject() override { return std::make_unique<TableFso>(table()); }

    std::vector<ScratchFolder> scratchFolders(const std::string& letter) override
    {
        const LetteredMount* drive = &lettered(letter);
        const MountEntry& bound = drive->mount;
        auto now = parseMountInfo(src_.mountInfo());
        auto id = src_.mountIdOf(bound.mountPoint);
        if (!stillMounted(bound, now) || (id && *id != bound.id))
            throw VantricError("Cannot test the drive",
                               std::string("The drive ") + drive->letter
                                   + ": is no longer available: the file system listed for it is no longer "
                                     "mounted there",
                               bound.mountPoint);
        return scratchCandidates(bound, now, src_.home, src_.temps, src_.realPath);
    }

    DriveInfo describe(const std::string& letter) override
    {
        const LetteredMount& d = lettered(letter);
        return {d.mount.mountPoint, d.mount.fsType};
    }

    std::optional<std::string> letterHolding(const std::string& folder) override
    {
        auto real = src_.realPath(folder);
        if (!real)
            return std::nullopt;
        auto m = mountOf(parseMountInfo(src_.mountInfo()), *real);
        if (!m)
            return std::nullopt;
        for (const auto& l : table())
            if (l.mount.major == m->major && l.mount.minor == m->minor)
                return std::string(1, l.letter);
        return std::nullopt;
    }

private:
    const LetteredMount& lettered(const std::string& letter)
    {
        for (const auto& l : table())
            if (letter.size() == 1 && l.letter == letter[0])
                return l;
        throw VantricError("Cannot test the drive", "No file system has the letter " + letter);
    }

    const std::vector<LetteredMount>& table()
    {
        if (!letters_) {
            auto mounts = parseMountInfo(src_.mountInfo());
            letters_ = assignLetters(mounts, src_.sysfsRoot);
        }
        return *letters_;
    }

    MountSources src_;
    std::optional<std::vector<LetteredMount>> letters_;
};

} // namespace

std::unique_ptr<DriveSource> mountDriveSource(MountSources sources)
{
    return std::make_unique<MountDriveSource>(std::move(sources));
}

std::unique_ptr<DriveSource> systemDriveSource()
{
    MountSources src;
    src.mountInfo = readMountInfo;
    src.realPath = realPath;
    src.mountIdOf = mountIdOf;
    if (const char* h = std::getenv("HOME"))
        src.home = h;
    if (const char* t = std::getenv("TMPDIR"); t && *t)
        src.temps.push_back(t);
    src.temps.push_back("/tmp");
    src.temps.push_back("/var/tmp");
    return mountDriveSource(std::move(src));
}

} // namespace vantric
