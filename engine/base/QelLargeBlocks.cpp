#include "engine/base/QelLargeBlocks.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace {

// No picture comes near a terabyte: a larger count is a corrupt size, refused
// before any allocator sees it (AddressSanitizer's would stop the program
// rather than fail).
constexpr size_t kMostBytes = size_t{1} << 40;

// The huge page of x86-64 and of most 64-bit ARM systems.
constexpr size_t kHugePage = size_t{2} << 20;

size_t RoundUpToHugePages(size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// Under AddressSanitizer every block comes from malloc, where the sanitizer
// guards its edges; a mapping of our own would hide overruns from it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kGuardedAllocator = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kGuardedAllocator = true;
#else
constexpr bool kGuardedAllocator = false;
#endif
#else
constexpr bool kGuardedAllocator = false;
#endif

bool Large(size_t bytes)
{
    return !kGuardedAllocator && bytes >= kHugePage;
}

}  // namespace

// The mapping is a huge page longer than the block, so an aligned block fits
// in it; what lies outside the block is given back at once.
void* AllocateLargeBlock(size_t bytes)
{
    if (bytes > kMostBytes)
        throw std::bad_alloc();
    if (!Large(bytes)) {
        void* block = std::malloc(bytes > 0 ? bytes : 1);
        if (block == nullptr)
            throw std::bad_alloc();
        return block;
    }
    const size_t rounded = RoundUpToHugePages(bytes);
    void* mapped = mmap(nullptr, rounded + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start)
        munmap(mapped, aligned - start);
    const uintptr_t end = start + rounded + kHugePage;
    if (end > aligned + rounded)
        munmap(reinterpret_cast<void*>(aligned + rounded), end - aligned - rounded);
    void* block = reinterpret_cast<void*>(aligned);
    madvise(block, rounded, MADV_HUGEPAGE);  // a system without huge pages keeps the ordinary ones
    return block;
}

void FreeLargeBlock(void* block, size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    if (!Large(bytes)) {
        std::free(block);
        return;
    }
    munmap(block, RoundUpToHugePages(bytes));
}

bool LargeBlocksOnHugePages()
{
    return !kGuardedAllocator;
}
