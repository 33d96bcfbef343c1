// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/errors.h"
#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantric {

std::string programFolder()
{
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n < 0)
        throw osError("Cannot find the program's folder", errno, "/proc/self/exe");
    std::string exe(buf.data(), static_cast<std::size_t>(n));
    auto slash = exe.find_last_of('/');
    return slash == 0 ? std::string() : exe.substr(0, slash);
}

std::optional<std::string> documentsFolderFrom(const std::string& variable, const std::string& userDirs, const std::string& home,
                                const std::function<bool(const std::string&)>& isFolder)
{
    // Values are "$HOME/Name" or an absolute path, in double quotes in the file.
    auto expand = [&](std::string v) -> std::string {
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
            v = v.substr(1, v.size() - 2);
        if (v == "$HOME" || v.rfind("$HOME/", 0) == 0)
            return home.empty() ? std::string() : home + v.substr(5);
        return !v.empty() && v[0] == '/' ? v : std::string();
    };
    std::string docs = expand(variable);
    if (docs.empty()) {
        std::istringstream lines(userDirs);
        std::string line;
        while (std::getline(lines, line)) {
            const std::string key = "XDG_DOCUMENTS_DIR=";
            if (line.rfind(key, 0) == 0)
                docs = expand(line.substr(key.size()));
        }
    }
    while (docs.size() > 1 && docs.back() == '/')
        docs.pop_back();
    if (!docs.empty() && isFolder(docs))
        return docs;
    if (home.empty())
        return std::nullopt;
    return home;
}

std::optional<std::string> documentsFolder()
{
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else {
        std::vector<char> buf(16384);
        passwd pw {};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
            home = found->pw_dir;
    }
    const char* variable = std::getenv("XDG_DOCUMENTS_DIR");
    std::string config = std::getenv("XDG_CONFIG_HOME") && *std::getenv("XDG_CONFIG_HOME")
                             ? std::getenv("XDG_CONFIG_HOME")
                             : home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::stringstream userDirs;
    userDirs << in.rdbuf();
    return documentsFolderFrom(variable ? variable : "", userDirs.str(), home, [](const std::string& p) {
        struct stat st {};
        return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    });
}

} // namespace vantric
