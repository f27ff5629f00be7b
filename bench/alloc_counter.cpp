#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

namespace {

std::atomic<std::uint64_t> allocations{0};

void *allocate(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0)
        size = 1;
    for (;;) {
        if (void *block = std::malloc(size))
            return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void *allocateAligned(std::size_t size, std::align_val_t alignment)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants the size to be a multiple of the alignment.
    std::size_t rounded = (size + align - 1) / align * align;
    if (rounded == 0)
        rounded = align;
    for (;;) {
#ifdef _WIN32
        void *block = _aligned_malloc(rounded, align);
#else
        void *block = std::aligned_alloc(align, rounded);
#endif
        if (block)
            return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void releaseAligned(void *block) noexcept
{
#ifdef _WIN32
    _aligned_free(block);
#else
    std::free(block);
#endif
}

} // namespace

std::uint64_t recibo::bench::allocationCount() { return allocations.load(std::memory_order_relaxed); }

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void *operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void *operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    try {
        return allocateAligned(size, alignment);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    try {
        return allocateAligned(size, alignment);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void *block) noexcept { std::free(block); }
void operator delete[](void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t) noexcept { std::free(block); }
void operator delete(void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete[](void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete(void *block, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete[](void *block, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete(void *block, std::size_t, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete[](void *block, std::size_t, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete(void *block, std::align_val_t, const std::nothrow_t &) noexcept { releaseAligned(block); }
void operator delete[](void *block, std::align_val_t, const std::nothrow_t &) noexcept { releaseAligned(block); }
