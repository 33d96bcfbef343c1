#pragma once
// An owned file handle, closed when it goes.

#include <windows.h>

#include <utility>

namespace vantric {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    // The system's error code of the close, 0 when it went well.
    DWORD close()
    {
        if (!valid())
            return 0;
        DWORD err = ::CloseHandle(h_) ? 0 : ::GetLastError();
        h_ = INVALID_HANDLE_VALUE;
        return err;
    }
    void reset() { close(); }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

} // namespace vantric
