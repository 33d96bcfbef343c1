// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/linux/io_engines.h"

#include <cerrno>
#include <unistd.h>

namespace vantric {

std::unique_ptr<IoEngine> makeSyncEngine(int fd)
{
    return std::make_unique<SyncEngine>([fd](const Transfer& t) -> Completion {
        std::size_t total = 0;
        while (total < t.need) {
            const auto off = static_cast<off_t>(t.offset + total);
            ssize_t r = t.write ? ::pwrite(fd, t.data + total, t.length - total, off)
                                : ::pread(fd, t.data + total, t.length - total, off);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return {t.slot, total, errno};
            }
            if (r == 0)
                break;
            total += static_cast<std::size_t>(r);
        }
        return {t.slot, total, 0};
    });
}

} // namespace vantric
