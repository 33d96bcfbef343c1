// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A file descriptor with one owner.

#include "platform/io/unique_resource.h"

#include <cerrno>
#include <unistd.h>

namespace vantric {

struct FdTraits {
    using Value = int;
    static int empty() { return -1; }
    static bool valid(int fd) { return fd >= 0; }
    static int close(int fd) { return ::close(fd) == 0 ? 0 : errno; }
};

using UniqueFd = UniqueResource<FdTraits>;

} // namespace vantric
