// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/mount_table.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace vantric {

bool underPath(const std::string& path, const std::string& prefix)
{
    return path == prefix || (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0
                              && path[prefix.size()] == '/');
}

std::string unescapeMountField(const std::string& field)
{
    auto isOct = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOct(field[i + 1]) && isOct(field[i + 2])
            && isOct(field[i + 3])) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8
                                            + (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(const std::string& text)
{
    std::vector<MountEntry> out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream f(line);
        std::vector<std::string> tok;
        std::string t;
        while (f >> t)
            tok.push_back(t);
        auto dash = std::find(tok.begin(), tok.end(), "-");
        if (tok.size() < 10 || dash == tok.end() || dash - tok.begin() < 6 || tok.end() - dash < 3)
            continue;
        MountEntry m;
        try {
            m.id = std::stoi(tok[0]);
            auto colon = tok[2].find(':');
            if (colon == std::string::npos)
                continue;
            m.major = static_cast<unsigned>(std::stoul(tok[2].substr(0, colon)));
            m.minor = static_cast<unsigned>(std::stoul(tok[2].substr(colon + 1)));
        } catch (const std::exception&) {
            continue;
        }
        m.mountPoint = unescapeMountField(tok[4]);
        m.fsType = unescapeMountField(*(dash + 1));
        m.source = unescapeMountField(*(dash + 2));
        if (tok.end() - dash > 3)
            m.superOptions = *(dash + 3); // escapes undone per option
        out.push_back(std::move(m));
    }
    return out;
}

// Of stacked mounts on one path the last mounted is the one in view.
std::vector<MountEntry> visibleMounts(const std::vector<MountEntry>& mounts)
{
    std::map<std::string, MountEntry> top;
    for (const auto& m : mounts)
        top[m.mountPoint] = m;
    std::vector<MountEntry> out;
    for (auto& [_, m] : top)
        out.push_back(m);
    return out;
}

std::optional<MountEntry> mountOf(const std::vector<MountEntry>& mounts, const std::string& path)
{
    std::optional<MountEntry> best;
    for (const auto& m : visibleMounts(mounts)) {
        if ((m.mountPoint == "/" && !path.empty() && path[0] == '/') || underPath(path, m.mountPoint)) {
            if (!best || m.mountPoint.size() > best->mountPoint.size())
                best = m;
        }
    }
    return best;
}

bool stillMounted(const MountEntry& bound, const std::vector<MountEntry>& now)
{
    // Of stacked mounts the last listed is the one in view.
    const MountEntry* top = nullptr;
    for (const auto& m : now)
        if (m.mountPoint == bound.mountPoint)
            top = &m;
    return top && top->id == bound.id && top->major == bound.major && top->minor == bound.minor;
}

} // namespace vantric
