// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/system/system_services.h"

#include "platform/folders.h"

namespace vantric {

Services SystemServices::services() const
{
    std::string folder = ".";
    try {
        folder = programFolder();
    } catch (const std::exception&) {
    }
    Services s {*drives, *fs, systemCounter(), systemClock(), systemStopHooks(), environmentNumericLocale(),
                folder, documentsFolder()};
    s.savedText = inUserCharset;
    return s;
}

} // namespace vantric
