#include "engine/base/QelLargeBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Small and large blocks alike hold every byte asked for; a large one starts
// on a huge page boundary, so the system can back it with huge pages.
TEST(QelLargeBlocksTest, blocks_of_any_size_hold_their_bytes_and_large_ones_start_on_a_huge_page)
{
    constexpr size_t kHugePage = size_t{2} << 20;
    for (const size_t bytes : {size_t{0}, size_t{1}, size_t{4096}, kHugePage - 1, kHugePage, kHugePage + 1,
                               size_t{4} << 20, (size_t{5} << 20) + 3}) {
        void* block = AllocateLargeBlock(bytes);
        ASSERT_NE(block, nullptr) << bytes;
        if (bytes >= kHugePage && LargeBlocksOnHugePages()) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % kHugePage, 0u) << bytes;
        }
        if (bytes > 0) {
            std::memset(block, 0xAB, bytes);
            EXPECT_EQ(static_cast<uint8_t*>(block)[bytes - 1], 0xAB) << bytes;
        }
        FreeLargeBlock(block, bytes);
    }
}

TEST(QelLargeBlocksTest, a_vector_grows_and_shrinks_through_them_and_a_block_too_large_is_refused)
{
    std::vector<uint8_t, QelLargeBlockAllocator<uint8_t>> bytes(16, 7);
    bytes.resize(size_t{3} << 20, 9);
    EXPECT_EQ(bytes.front(), 7);
    EXPECT_EQ(bytes.back(), 9);
    bytes.resize(8);
    bytes.shrink_to_fit();
    EXPECT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes[7], 7);
    // More than the system can give is refused, and the vector stays whole.
    EXPECT_THROW(bytes.reserve(bytes.max_size()), std::bad_alloc);
    EXPECT_EQ(bytes[7], 7);
}

}  // namespace
