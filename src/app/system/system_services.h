// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The running system's services, which every program hands its frmDrive.

#include "platform/form_state.h"

#include <memory>

namespace vantric {

struct SystemServices {
    std::unique_ptr<DriveSource> drives = systemDriveSource();
    std::unique_ptr<FileSystem> fs = systemFileSystem();

    // With the user's number format, the program's folder ("." where it
    // cannot be found) and the documents folder.
    Services services() const;
};

} // namespace vantric
