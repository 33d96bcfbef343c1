// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The blocks a file moves through: one aligned allocation cut into equal
// buffers, touched once up front so that no page fault lands in a timed pass.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vantric {

class BufferPool {
public:
    // `size` is rounded up to a multiple of `align`, a power of two. Sizes
    // past what memory can hold throw as an allocation that failed.
    BufferPool(int count, std::size_t size, std::size_t align);

    int count() const { return count_; }
    std::size_t size() const { return size_; }
    std::uint8_t* data(int i) const { return mem_.get() + static_cast<std::size_t>(i) * size_; }

private:
    struct Free {
        std::size_t align;
        void operator()(std::uint8_t* p) const;
    };
    int count_;
    std::size_t size_;
    std::unique_ptr<std::uint8_t, Free> mem_;
};

} // namespace vantric
