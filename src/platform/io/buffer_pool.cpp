// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/io/buffer_pool.h"

#include "platform/errors.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace vantric {

void BufferPool::Free::operator()(std::uint8_t* p) const
{
    ::operator delete(p, std::align_val_t(align));
}

BufferPool::BufferPool(int count, std::size_t size, std::size_t align)
    : count_(count < 1 ? 1 : count), mem_(nullptr, Free {align})
{
    if (align == 0 || (align & (align - 1)) != 0)
        throw std::invalid_argument("buffer alignment must be a power of two");
    const VantricError outOfMemory("Out of memory", "Cannot allocate the file buffers");
    std::size_t padded = 0, total = 0;
    if (__builtin_add_overflow(size, align - 1, &padded))
        throw outOfMemory;
    size_ = padded / align * align;
    if (size_ == 0)
        size_ = align;
    if (__builtin_mul_overflow(size_, static_cast<std::size_t>(count_), &total))
        throw outOfMemory;
    try {
        mem_.reset(static_cast<std::uint8_t*>(::operator new(total, std::align_val_t(align))));
    } catch (const std::bad_alloc&) {
        throw outOfMemory;
    }
    std::memset(mem_.get(), 0, total);
}

} // namespace vantric
