#include "platform/buffer_pool.h"

#include "platform/errors.h"

#include <cstdlib>
#include <cstring>

namespace vantric {

// malloc's block, aligned by hand: aligned_alloc is not in every C library
// (Windows' has none). The block's own address is kept just before the
// aligned memory.
static std::uint8_t* alignedBlock(std::size_t align, std::size_t total)
{
    void* raw = std::malloc(total + align + sizeof(void*));
    if (!raw)
        return nullptr;
    auto at = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    at = (at + align - 1) / align * align;
    reinterpret_cast<void**>(at)[-1] = raw;
    return reinterpret_cast<std::uint8_t*>(at);
}

void BufferPool::Free::operator()(std::uint8_t* p) const
{
    if (p)
        std::free(reinterpret_cast<void**>(p)[-1]);
}

BufferPool::BufferPool(int count, std::size_t size, std::size_t align)
    : count_(count < 1 ? 1 : count), size_((size + align - 1) / align * align)
{
    if (size_ == 0)
        size_ = align;
    const std::size_t total = size_ * static_cast<std::size_t>(count_);
    mem_.reset(alignedBlock(align, total));
    if (!mem_)
        throw VantricError("Out of memory", "Cannot allocate the file buffers");
    std::memset(mem_.get(), 0, total);
}

} // namespace vantric
