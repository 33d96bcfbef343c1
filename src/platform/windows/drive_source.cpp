// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/drive_source.h"
#include "platform/drive_queries.h"
#include "platform/windows/drive_types.h"
#include "platform/windows/win_text.h"

#include <windows.h>

namespace vantric {

std::optional<int> driveTypeCode(unsigned t)
{
    switch (t) {
    case DRIVE_NO_ROOT_DIR: return std::nullopt;
    case DRIVE_UNKNOWN: return 0;
    case DRIVE_REMOVABLE: return 1;
    case DRIVE_FIXED: return 2;
    case DRIVE_REMOTE: return 3;
    case DRIVE_CDROM: return 4;
    case DRIVE_RAMDISK: return 5;
    default: return static_cast<int>(t);
    }
}

namespace {

std::wstring rootOf(char letter)
{
    return {static_cast<wchar_t>(letter), L':', L'\\'};
}

std::string rootText(char letter)
{
    return {letter, ':', '\\'};
}

struct Space {
    DWORD err = 0;
    ULARGE_INTEGER available {};
    ULARGE_INTEGER total {};
};

DriveQueries g_space("drive");

Space spaceWithin(char letter)
{
    const std::string root = rootText(letter);
    const Space answer = g_space.ask<Space>(root, [letter] {
        // A drive without its medium must fail the query, not ask the user.
        DWORD before = 0;
        ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &before);
        Space s;
        ULARGE_INTEGER free {};
        if (!::GetDiskFreeSpaceExW(rootOf(letter).c_str(), &s.available, &s.total, &free))
            s.err = ::GetLastError();
        ::SetThreadErrorMode(before, nullptr);
        return s;
    });
    if (answer.err)
        throw winError("Cannot query the drive", answer.err, root);
    return answer;
}

class WinDrive : public Drive {
public:
    WinDrive(char letter, int type) : letter_(letter), type_(type) {}
    int driveType() override { return type_; }
    std::string driveLetter() override { return std::string(1, letter_); }
    DriveSpace space() override
    {
        const Space s = spaceWithin(letter_);
        return {s.available.QuadPart, s.total.QuadPart};
    }

private:
    char letter_;
    int type_;
};

char letterOf(const std::string& letter)
{
    if (letter.size() != 1)
        return 0;
    char c = letter[0];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

class WinFso : public FileSystemObject {
public:
    explicit WinFso(DWORD drives) : drives_(drives) {}

    std::unique_ptr<Drive> getDrive(const std::string& letter) override
    {
        char c = letterOf(letter);
        if (!c || !(drives_ & (1u << (c - 'A'))))
            throw VantricError("Drive not found", "No drive has the letter " + letter);
        auto type = driveTypeCode(::GetDriveTypeW(rootOf(c).c_str()));
        if (!type)
            throw VantricError("Drive not found", "The drive " + letter + ": has no root folder");
        return std::make_unique<WinDrive>(c, *type);
    }

private:
    DWORD drives_;
};

std::string withoutTrailingSeparator(std::string path)
{
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

std::string volumeOf(const std::string& folder)
{
    wchar_t volume[MAX_PATH + 1];
    if (!::GetVolumePathNameW(wide(folder).c_str(), volume, MAX_PATH + 1))
        return {};
    return utf8(volume);
}

bool sameRoot(const std::string& a, const std::string& b)
{
    return ::CompareStringOrdinal(wide(a).c_str(), -1, wide(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

class WinDriveSource : public DriveSource {
public:
    WinDriveSource() { ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

    std::unique_ptr<FileSystemObject> createObject() override { return std::make_unique<WinFso>(table()); }

    // The root; else the user's temporary folder where it lies on this
    // drive; else a private folder in the root (a standard user may make
    // folders in C:\ where he may not make files).
    std::vector<ScratchFolder> scratchFolders(const std::string& letter) override
    {
        char c = surveyed(letter, "Cannot test the drive");
        if (!driveTypeCode(::GetDriveTypeW(rootOf(c).c_str())))
            throw VantricError("Cannot test the drive",
                               std::string("The drive ") + c + ": is no longer available", rootText(c));
        std::vector<ScratchFolder> places {{rootText(c)}};
        wchar_t temp[MAX_PATH + 2];
        DWORD n = ::GetTempPathW(MAX_PATH + 2, temp);
        if (n > 0 && n <= MAX_PATH + 1) {
            std::string folder = withoutTrailingSeparator(utf8(std::wstring(temp, n)));
            if (sameRoot(volumeOf(folder), rootText(c)))
                places.push_back({folder});
        }
        places.push_back({rootText(c), true});
        return places;
    }

    DriveInfo describe(const std::string& letter) override
    {
        char c = surveyed(letter, "Cannot test the drive");
        wchar_t fs[MAX_PATH + 1] = {};
        ::GetVolumeInformationW(rootOf(c).c_str(), nullptr, 0, nullptr, nullptr, nullptr, fs, MAX_PATH + 1);
        return {rootText(c), utf8(fs)};
    }

    std::optional<std::string> letterHolding(const std::string& folder) override
    {
        std::string volume = volumeOf(folder);
        if (volume.size() != 3 || volume[1] != ':')
            return std::nullopt;
        char c = letterOf(volume.substr(0, 1));
        if (!c || !(table() & (1u << (c - 'A'))))
            return std::nullopt;
        return std::string(1, c);
    }

private:
    DWORD table()
    {
        if (!drives_)
            drives_ = ::GetLogicalDrives();
        return *drives_;
    }

    char surveyed(const std::string& letter, const char* action)
    {
        char c = letterOf(letter);
        if (!c || !(table() & (1u << (c - 'A'))))
            throw VantricError(action, "No drive has the letter " + letter);
        return c;
    }

    std::optional<DWORD> drives_;
};

} // namespace

std::unique_ptr<DriveSource> systemDriveSource()
{
    return std::make_unique<WinDriveSource>();
}

} // namespace vantric
