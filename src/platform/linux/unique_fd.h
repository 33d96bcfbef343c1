#pragma once
// A file descriptor with one owner: closed when the owner goes away.

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace vantric {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    UniqueFd(UniqueFd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& o) noexcept
    {
        if (this != &o) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = std::exchange(o.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    // Closes now and returns 0 or the errno of the close, which for a
    // written file can be the first news of a failed write.
    int close()
    {
        if (fd_ < 0)
            return 0;
        int r = ::close(std::exchange(fd_, -1));
        return r == 0 ? 0 : errno;
    }

private:
    int fd_ = -1;
};

} // namespace vantric
