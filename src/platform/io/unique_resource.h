// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A system resource with one owner (a file descriptor, a handle): closed
// when the owner goes away. `Traits` gives the resource's type, its empty
// value, and how it is closed.

#include <utility>

namespace vantric {

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() = default;
    explicit UniqueResource(Value v) : v_(v) {}
    ~UniqueResource() { close(); }
    UniqueResource(UniqueResource&& o) noexcept : v_(std::exchange(o.v_, Traits::empty())) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept
    {
        if (this != &o) {
            close();
            v_ = std::exchange(o.v_, Traits::empty());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Value get() const { return v_; }
    bool valid() const { return Traits::valid(v_); }
    explicit operator bool() const { return valid(); }

    // Closes now and returns 0 or the system's error number of the close,
    // which for a written file can be the first news of a failed write.
    int close() { return valid() ? Traits::close(std::exchange(v_, Traits::empty())) : 0; }

private:
    Value v_ = Traits::empty();
};

} // namespace vantric
