#pragma once
// The local date and time, and where the running program lives.

#include <functional>
#include <optional>
#include <string>

namespace vantric {

struct LocalDateTime {
    int year = 0;   // e.g. 2026
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() = 0;
};

Clock& systemClock();

// The folder of the running executable, without a trailing separator.
std::string programFolder();

// The user's documents folder: XDG_DOCUMENTS_DIR from the environment or
// from the user-dirs.dirs file, when it is a folder; else the home folder;
// nullopt when neither is known.
std::optional<std::string> documentsFolder();

// The same from given parts: the variable's value, the text of
// user-dirs.dirs, the home folder and a test for folders.
std::optional<std::string> documentsFolderFrom(const std::string& variable, const std::string& userDirs, const std::string& home,
                                const std::function<bool(const std::string&)>& isFolder);

// The path separator of this system.
char pathSeparator();

} // namespace vantric
