#include "game/render/manager/LabelStack.h"

#include <gtest/gtest.h>

#include <vector>

#include "helper/CRand.h"

namespace {

// The placement as a plain scan: from the first label each time the box
// moves.
IntRect PlaceByScan(std::vector<IntRect>& placed, IntRect box, int32_t step, int32_t maxMoves)
{
    const int32_t height = box.Height();
    int32_t moves = 0;
    for (size_t i = 0; i < placed.size() && moves < maxMoves;) {
        const IntRect& other = placed[i];
        if (box.right >= other.left && other.right >= box.left && box.bottom >= other.top && other.bottom >= box.top) {
            box.top = other.top - step;
            box.bottom = box.top + height;
            ++moves;
            i = 0;
            continue;
        }
        ++i;
    }
    placed.push_back(box);
    return box;
}

// Crowds spread wide and packed tight, on both sides of row 0 (the bands
// below zero), with touching edges: the filed search ends where the scan
// does, label for label.
TEST(LabelStackTest, places_every_label_where_a_scan_of_all_places_it)
{
    struct Crowd {
        int32_t spanX, spanY, count;
    };
    for (const Crowd crowd : {Crowd{1024, 768, 700}, Crowd{120, 90, 400}, Crowd{20, 10, 300}, Crowd{4000, 60, 500}}) {
        csrand(static_cast<uint32_t>(crowd.count + crowd.spanX));
        LabelStack stack;
        std::vector<IntRect> scanned;
        for (int32_t i = 0; i < crowd.count; ++i) {
            const int32_t x = crand() % crowd.spanX - crowd.spanX / 4;
            const int32_t y = crand() % crowd.spanY - crowd.spanY / 4;
            const int32_t half = 20 + crand() % 60;
            const IntRect box{x - half, y - 10, x + half, y + 10};
            const IntRect expected = PlaceByScan(scanned, box, 22, 16);
            ASSERT_EQ(stack.Place(box, 22, 16).box, expected) << "label " << i << " of " << crowd.count;
        }
        EXPECT_EQ(stack.Placed(), scanned);
        stack.Clear();
        EXPECT_TRUE(stack.Placed().empty());
        EXPECT_EQ(stack.Place(IntRect{0, 0, 10, 20}, 22, 16).box, (IntRect{0, 0, 10, 20})) << "nothing left to meet";
    }
}

}  // namespace
