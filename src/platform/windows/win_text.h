// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Paths and texts cross into the system as UTF-16 and come back as UTF-8;
// system errors become VantricErrors with the system's own message.

#include "platform/errors.h"

#include <windows.h>

#include <string>

namespace vantric {

std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);
std::string utf8(const wchar_t* text);

// FormatMessageW's text for a system error code, without the line break at its end.
std::string systemMessage(DWORD code);

// The errno that matches a system error code, so that the logic can tell a
// refusal from a full disk the same way on every system; EIO where none fits.
int errnoFor(DWORD code);

// What failed, the path, and the system's message for `code`.
VantricError winError(const std::string& action, DWORD code, const std::string& path = {});

} // namespace vantric
