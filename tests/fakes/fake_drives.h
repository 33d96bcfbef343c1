// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Drives made up by the test: each query can be told to fail.

#include "platform/drive_source.h"
#include "platform/errors.h"

#include <map>
#include <string>
#include <vector>

namespace vantric::test {

struct FakeDrive {
    int type = 2;
    double avail = 0;
    double total = 0;
    bool failType = false;
    bool failLetter = false;
    bool failSpace = false;
};

class FakeDriveSource : public DriveSource {
public:
    std::map<char, FakeDrive> drives;
    std::map<char, std::vector<ScratchFolder>> folders;
    bool failCreate = false;
    std::vector<std::string> asked; // letters passed to getDrive, in order

    std::unique_ptr<FileSystemObject> createObject() override;
    std::vector<ScratchFolder> scratchFolders(const std::string& letter) override;
    DriveInfo describe(const std::string& letter) override;
    std::optional<std::string> letterHolding(const std::string& folder) override;
    std::map<char, DriveInfo> info;
    std::map<std::string, std::string> holding; // folder -> letter
};

} // namespace vantric::test
