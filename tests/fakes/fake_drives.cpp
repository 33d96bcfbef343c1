// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "fakes/fake_drives.h"

namespace vantric::test {

namespace {

// What the map holds for a one-letter drive name.
template <typename T> T& ofLetter(std::map<char, T>& map, const std::string& letter)
{
    auto it = letter.size() == 1 ? map.find(letter[0]) : map.end();
    if (it == map.end())
        throw VantricError("Cannot test the drive", "No file system has the letter " + letter);
    return it->second;
}

class Handle : public Drive {
public:
    Handle(FakeDrive& d, char letter) : d_(d), letter_(letter) {}
    int driveType() override
    {
        if (d_.failType)
            throw VantricError("Query failed", "type");
        return d_.type;
    }
    std::string driveLetter() override
    {
        if (d_.failLetter)
            throw VantricError("Query failed", "letter");
        return std::string(1, letter_);
    }
    DriveSpace space() override
    {
        if (d_.failSpace)
            throw VantricError("Query failed", "space");
        return {static_cast<std::uint64_t>(d_.avail), static_cast<std::uint64_t>(d_.total)};
    }

private:
    FakeDrive& d_;
    char letter_;
};

class Fso : public FileSystemObject {
public:
    explicit Fso(FakeDriveSource& src) : src_(src) {}
    std::unique_ptr<Drive> getDrive(const std::string& letter) override
    {
        src_.asked.push_back(letter);
        return std::make_unique<Handle>(ofLetter(src_.drives, letter), letter[0]);
    }

private:
    FakeDriveSource& src_;
};

} // namespace

std::unique_ptr<FileSystemObject> FakeDriveSource::createObject()
{
    if (failCreate)
        throw VantricError("Cannot create the object", "refused");
    return std::make_unique<Fso>(*this);
}

std::vector<ScratchFolder> FakeDriveSource::scratchFolders(const std::string& letter)
{
    return ofLetter(folders, letter);
}

DriveInfo FakeDriveSource::describe(const std::string& letter)
{
    return ofLetter(info, letter);
}

std::optional<std::string> FakeDriveSource::letterHolding(const std::string& folder)
{
    auto it = holding.find(folder);
    return it == holding.end() ? std::nullopt : std::optional(it->second);
}

} // namespace vantric::test
