// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/private_folder.h"

#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <cstdint>
#include <vector>

namespace vantric {

std::wstring privateFolderSddl()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> buf(size);
    std::wstring sddl;
    if (size && ::GetTokenInformation(token, TokenUser, buf.data(), size, &size)) {
        wchar_t* sid = nullptr;
        if (::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid, &sid)) {
            sddl = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")";
            ::LocalFree(sid);
        }
    }
    ::CloseHandle(token);
    return sddl;
}

} // namespace vantric
