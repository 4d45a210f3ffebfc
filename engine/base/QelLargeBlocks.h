#pragma once
// Room for large pictures (decoded images, font atlases, sky faces) that the
// system may back with huge pages. Fresh memory is handed to a process a page
// at a time as it is first touched, and on a virtual machine each page costs
// a trap: the start screen's few 4 MB images and atlases took a third of its
// start-up in them. A block of a huge page or more is mapped on its own,
// aligned to huge pages and marked for them, so the same memory arrives in a
// handful of traps; smaller ones come from the ordinary heap. Where the
// system gives no huge pages the mapping is an ordinary one. Under
// AddressSanitizer every block comes from the heap, where the sanitizer
// guards its edges.

#include <cstddef>
#include <new>

// A block of at least bytes, released with the same count; throws
// std::bad_alloc when the system has no room.
void* AllocateLargeBlock(size_t bytes);
void FreeLargeBlock(void* block, size_t bytes) noexcept;
// Whether blocks of a huge page or more are mapped on huge page boundaries
// (false under AddressSanitizer).
bool LargeBlocksOnHugePages();

// For std::vector: its blocks come from AllocateLargeBlock.
template <class T>
struct QelLargeBlockAllocator {
    using value_type = T;

    QelLargeBlockAllocator() = default;
    template <class U>
    QelLargeBlockAllocator(const QelLargeBlockAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t count)
    {
        if (count > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(AllocateLargeBlock(count * sizeof(T)));
    }
    void deallocate(T* block, size_t count) noexcept { FreeLargeBlock(block, count * sizeof(T)); }

    template <class U>
    bool operator==(const QelLargeBlockAllocator<U>&) const noexcept
    {
        return true;
    }
};
