#include "platform/clock.h"
#include "platform/errors.h"

#include <cerrno>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace vantric {

namespace {
class LocalClock : public Clock {
public:
    LocalDateTime now() override
    {
        std::time_t t = std::time(nullptr);
        std::tm tm {};
        localtime_r(&t, &tm);
        return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
};
} // namespace

Clock& systemClock()
{
    static LocalClock c;
    return c;
}

std::string programFolder()
{
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n < 0)
        throw osError("Cannot find the program's folder", errno, "/proc/self/exe");
    std::string exe(buf.data(), static_cast<std::size_t>(n));
    auto slash = exe.find_last_of('/');
    return slash == 0 ? std::string() : exe.substr(0, slash);
}

char pathSeparator()
{
    return '/';
}

} // namespace vantric
