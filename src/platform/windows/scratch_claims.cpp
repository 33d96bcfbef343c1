// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/scratch_claims.h"

#include <mutex>
#include <utility>
#include <vector>

namespace vantric {

namespace {
std::mutex g_mutex;
std::vector<std::pair<std::string, HANDLE>> g_claims;
} // namespace

void registerClaim(const std::string& path, HANDLE h)
{
    std::lock_guard lock(g_mutex);
    g_claims.emplace_back(path, h);
}

void unregisterClaim(HANDLE h)
{
    std::lock_guard lock(g_mutex);
    std::erase_if(g_claims, [h](const auto& c) { return c.second == h; });
}

bool markForDeletion(HANDLE h) noexcept
{
    FILE_DISPOSITION_INFO d {};
    d.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &d, sizeof d) != 0;
}

bool deleteClaimed(const std::string& path) noexcept
{
    std::lock_guard lock(g_mutex);
    for (const auto& [p, h] : g_claims)
        if (p == path)
            return markForDeletion(h);
    return false;
}

} // namespace vantric
