#include "app/cli.h"
#include "platform/clock.h"
#include "platform/folders.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace vantric;
    auto drives = systemDriveSource();
    auto fs = systemFileSystem();
    std::string folder = ".";
    try {
        folder = programFolder();
    } catch (const std::exception&) {
    }
    return runCli(std::vector<std::string>(argv + 1, argv + argc),
                  Services {*drives, *fs, systemCounter(), systemClock(), environmentNumericLocale(), folder,
                           documentsFolder()},
                  CliStreams {std::cout, std::cerr, ::isatty(2) == 1});
}
