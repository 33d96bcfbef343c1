// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The drive queries the survey and the run rely on: a per-probe file-system
// object that finds a drive by letter and answers its type, letter and space.
// Every query may fail, by throwing VantricError.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

// Both figures come from one query: the systems answer them together.
struct DriveSpace {
    std::uint64_t available = 0; // bytes the user may still write
    std::uint64_t total = 0;     // 0 where the file system reports no size
};

class Drive {
public:
    virtual ~Drive() = default;
    virtual int driveType() = 0;        // 0 Unknown .. 5 RAM Disc
    virtual std::string driveLetter() = 0;
    virtual DriveSpace space() = 0;
};

class FileSystemObject {
public:
    virtual ~FileSystemObject() = default;
    // Throws when no drive has the letter.
    virtual std::unique_ptr<Drive> getDrive(const std::string& letter) = 0;
};

// A folder where the scratch file may go.
struct ScratchFolder {
    std::string path;
    // A base temp folder: the run makes a private folder of its own under
    // it, and removes it when the run ends.
    bool privateUnder = false;

    bool operator==(const ScratchFolder&) const = default;
};

// Where the survey found a drive.
struct DriveInfo {
    std::string mountPoint;
    std::string fsType;
};

class DriveSource {
public:
    virtual ~DriveSource() = default;
    // Answers from the drive table of the survey, taken at the first call.
    virtual std::unique_ptr<FileSystemObject> createObject() = 0;
    // Folders on the file system that the survey gave this letter where the
    // scratch file may go, best first; the run tries to create the file in
    // each in turn. Throws when that file system is no longer mounted where
    // the survey found it.
    virtual std::vector<ScratchFolder> scratchFolders(const std::string& letter) = 0;
    // Throws when the survey gave no drive this letter.
    virtual DriveInfo describe(const std::string& letter) = 0;
    // The letter of the surveyed drive that holds `folder`; nullopt when
    // that file system has none (or the folder does not exist).
    virtual std::optional<std::string> letterHolding(const std::string& folder) = 0;
};

// The drives of this machine.
std::unique_ptr<DriveSource> systemDriveSource();

} // namespace vantric
