#pragma once
// The local date and time, and where the running program lives.

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

// The path separator of this system.
char pathSeparator();

} // namespace vantric
