// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// /proc/self/mountinfo as any user can shape it (labels, FUSE names).
#include "platform/linux/mount_table.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vantric;
    const auto mounts = parseMountInfo(std::string(reinterpret_cast<const char*>(data), size));
    auto same = [](const std::string& p) { return std::optional<std::string>(p); };
    for (const auto& l : assignLetters(mounts, "/nonexistent")) {
        if (!stillMounted(l.mount, mounts) || !mountOf(mounts, l.mount.mountPoint))
            __builtin_trap(); // a lettered mount is in view where it was found
        scratchCandidates(l.mount, mounts, "/home/u", {"/tmp"}, same);
    }
    return 0;
}
