#pragma once
// What the Windows tests share: files looked at with the system's own
// calls, and the test program run again as a child process.

#include "support/temp_folder.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantric::test {

bool exists(const std::string& path);
// Read with every sharing flag, so that a claimed file can be looked at.
std::vector<std::uint8_t> readAll(const std::string& path);
void writeAll(const std::string& path, const std::vector<std::uint8_t>& bytes);

struct WinChild {
    DWORD exitCode = 0;
    bool finished = false;
    std::string out; // standard output and error
};

// Runs `exe` (this test program when empty) with the arguments and the
// environment changed by `env`, and waits up to `timeoutMs`.
WinChild runChild(const std::string& exe, const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env = {}, DWORD timeoutMs = 60000);
std::string thisProgram();

} // namespace vantric::test
