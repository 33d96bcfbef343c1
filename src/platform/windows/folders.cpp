// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/folders.h"
#include "platform/windows/win_text.h"

#include <shlobj.h>
#include <windows.h>

namespace vantric {

std::string programFolder()
{
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            throw winError("Cannot find the program's folder", ::GetLastError());
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    // "C:\vantric.exe" gives "C:", so that the folder and "\" + a name make a path.
    auto slash = buf.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string() : utf8(buf.substr(0, slash));
}

std::optional<std::string> documentsFolder()
{
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)))
        folder = utf8(path);
    ::CoTaskMemFree(path);
    if (folder && folder->empty())
        folder.reset();
    return folder;
}

} // namespace vantric
