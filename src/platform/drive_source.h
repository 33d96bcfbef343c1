#pragma once
// The drive queries the survey and the run rely on: a per-probe file-system
// object that finds a drive by letter and answers its type, letter and space.
// Every query may fail, by throwing VantricError.

#include <cstdint>
#include <memory>
#include <string>

namespace vantric {

class Drive {
public:
    virtual ~Drive() = default;
    virtual int driveType() = 0;        // 0 Unknown .. 5 RAM Disc
    virtual std::string driveLetter() = 0;
    virtual double availableSpace() = 0; // bytes the user may still write
    virtual double totalSize() = 0;
};

class FileSystemObject {
public:
    virtual ~FileSystemObject() = default;
    // Throws when no drive has the letter.
    virtual std::unique_ptr<Drive> getDrive(const std::string& letter) = 0;
};

class DriveSource {
public:
    virtual ~DriveSource() = default;
    virtual std::unique_ptr<FileSystemObject> createObject() = 0;
    // A folder on the drive with that letter where this user can create the
    // scratch file: the drive's root, or another folder on the same file
    // system. Throws when there is none.
    virtual std::string scratchFolder(const std::string& letter) = 0;
};

// The drives of this machine.
std::unique_ptr<DriveSource> systemDriveSource();

} // namespace vantric
