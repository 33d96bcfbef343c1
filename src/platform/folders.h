// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Where the running program lives, the user's documents, and how a path
// joins its parts.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace vantric {

// The folder of the running executable, without a trailing separator.
std::string programFolder();

// The user's documents folder: XDG_DOCUMENTS_DIR from the environment or
// from the user-dirs.dirs file, when it is a folder; else the home folder;
// nullopt when neither is known.
std::optional<std::string> documentsFolder();

// The same from given parts: the variable's value, the text of
// user-dirs.dirs, the home folder and a test for folders.
std::optional<std::string> documentsFolderFrom(const std::string& variable, const std::string& userDirs, const std::string& home,
                                const std::function<bool(const std::string&)>& isFolder);

// The path separator of this system.
inline char pathSeparator()
{
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

} // namespace vantric
