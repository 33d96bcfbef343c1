// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// Letters for the mounted file systems, and where a drive's scratch file
// may go.

#include "platform/linux/mount_table.h"

#include <algorithm>
#include <map>

namespace vantric {

std::vector<LetteredMount> assignLetters(const std::vector<MountEntry>& mounts, const std::string& sysfsRoot)
{
    std::vector<MountEntry> kept;
    for (const auto& m : visibleMounts(mounts))
        if (!isExcludedMount(m))
            kept.push_back(m);

    // One entry per device: "/" wins, else the shortest mount point.
    std::map<std::pair<unsigned, unsigned>, MountEntry> byDevice;
    for (const auto& m : kept) {
        auto key = std::make_pair(m.major, m.minor);
        auto it = byDevice.find(key);
        if (it == byDevice.end()) {
            byDevice.emplace(key, m);
            continue;
        }
        const MountEntry& cur = it->second;
        bool better = false;
        if (cur.mountPoint == "/")
            better = false;
        else if (m.mountPoint == "/")
            better = true;
        else if (m.mountPoint.size() != cur.mountPoint.size())
            better = m.mountPoint.size() < cur.mountPoint.size();
        else
            better = m.mountPoint < cur.mountPoint;
        if (better)
            it->second = m;
    }

    std::optional<MountEntry> root;
    std::vector<MountEntry> others;
    for (auto& [_, m] : byDevice) {
        if (m.mountPoint == "/")
            root = m;
        else
            others.push_back(m);
    }
    std::sort(others.begin(), others.end(),
              [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });

    std::vector<LetteredMount> out;
    if (root)
        out.push_back({'C', *root, classifyMount(*root, mounts, sysfsRoot)});
    char letter = 'D';
    for (const auto& m : others) {
        if (letter > 'Z')
            break;
        out.push_back({letter++, m, classifyMount(m, mounts, sysfsRoot)});
    }
    return out;
}

std::vector<ScratchFolder> scratchCandidates(const MountEntry& drive, const std::vector<MountEntry>& mounts,
                                             const std::string& home, const std::vector<std::string>& temps,
                                             const std::function<std::optional<std::string>(const std::string&)>& realPath)
{
    auto onDrive = [&](const std::string& dir) {
        auto real = realPath(dir);
        if (!real)
            return false;
        auto m = mountOf(mounts, *real);
        return m && m->major == drive.major && m->minor == drive.minor;
    };
    std::vector<ScratchFolder> out {{drive.mountPoint, false}};
    if (!home.empty() && onDrive(home))
        out.push_back({home, false});
    for (const auto& t : temps)
        if (!t.empty() && onDrive(t))
            out.push_back({t, true});
    return out;
}

} // namespace vantric
