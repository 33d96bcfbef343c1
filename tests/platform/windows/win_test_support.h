#pragma once
// The Windows tests' child process: this test program, or another, run
// with a changed environment.

#include "support/temp_folder.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantric::test {

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
