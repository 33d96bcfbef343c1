// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A file handle with one owner.

#include "platform/io/unique_resource.h"

#include <windows.h>

namespace vantric {

struct HandleTraits {
    using Value = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static int close(HANDLE h) { return ::CloseHandle(h) ? 0 : static_cast<int>(::GetLastError()); }
};

using UniqueHandle = UniqueResource<HandleTraits>;

} // namespace vantric
