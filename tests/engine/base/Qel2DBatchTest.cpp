#include "engine/base/Qel2DBatch.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace {

Qel2DBatchKey Key(int orderKey, bool lines = false)
{
    Qel2DBatchKey key;
    key.orderKey = orderKey;
    key.lines = lines;
    return key;
}

void AddTriangles(Qel2DBufferPool& pool, const Qel2DBatchKey& key, int count)
{
    const Qel2DVertex v{};
    for (int i = 0; i < count; ++i)
        pool.Get2DBuffer(key)->AddTriangle(v, v, v);
}

TEST(Qel2DBatchTest, one_key_fills_a_buffer_to_99_primitives_then_opens_the_next)
{
    Qel2DBufferPool pool;
    AddTriangles(pool, Key(0), 150);
    const auto order = pool.FilledInDrawOrder();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0]->PrimitiveCount(), 99);
    EXPECT_EQ(order[1]->PrimitiveCount(), 51);
}

TEST(Qel2DBatchTest, buffers_draw_by_ascending_order_key_and_equal_keys_keep_pool_order)
{
    Qel2DBufferPool pool;
    AddTriangles(pool, Key(5), 1);
    AddTriangles(pool, Key(2), 1);
    AddTriangles(pool, Key(5, true), 0);
    pool.Get2DBuffer(Key(5, true))->AddLine(Qel2DVertex{}, Qel2DVertex{});
    const auto order = pool.FilledInDrawOrder();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0]->Key().orderKey, 2);
    EXPECT_FALSE(order[1]->Key().lines);
    EXPECT_TRUE(order[2]->Key().lines);
    EXPECT_EQ(order[2]->VertexCount(), 2);
}

TEST(Qel2DBatchTest, emptied_buffers_are_rekeyed_instead_of_growing_the_pool)
{
    Qel2DBufferPool pool;
    AddTriangles(pool, Key(1), 3);
    AddTriangles(pool, Key(2), 3);
    pool.EmptyAll();
    AddTriangles(pool, Key(7), 3);
    EXPECT_EQ(pool.BufferCount(), 2u);
    EXPECT_EQ(pool.FilledInDrawOrder().front()->Key().orderKey, 7);
}

// The pool as a plain walk over its buffers in creation order, the search the
// key map must answer exactly as.
class LinearPool {
public:
    size_t Get(const Qel2DBatchKey& key)
    {
        for (size_t i = 0; i < buffers_.size(); ++i) {
            if (buffers_[i].count == 0) {
                buffers_[i].key = key;
                return i;
            }
            if (buffers_[i].count < Qel2DBuffer::kMaxPrimitives && buffers_[i].key == key)
                return i;
        }
        buffers_.push_back({key, 0});
        return buffers_.size() - 1;
    }
    void Add(size_t index) { ++buffers_[index].count; }
    void EmptyAll()
    {
        for (auto& buffer : buffers_)
            buffer.count = 0;
    }

private:
    struct Entry {
        Qel2DBatchKey key;
        int count;
    };
    std::vector<Entry> buffers_;
};

TEST(Qel2DBatchTest, the_key_map_picks_the_buffer_a_walk_of_the_pool_would_pick)
{
    Qel2DBufferPool pool;
    LinearPool reference;
    std::map<const Qel2DBuffer*, size_t> creationIndex;  // first seen is made first
    std::mt19937 random(37);
    const Qel2DBatchKey keys[] = {Key(1), Key(1, true), Key(2), Key(3), Key(3, true)};
    for (int step = 0; step < 20000; ++step) {
        if (random() % 900 == 0) {  // a flush
            pool.EmptyAll();
            reference.EmptyAll();
            continue;
        }
        const Qel2DBatchKey& key = keys[random() % std::size(keys)];
        Qel2DBuffer* buffer = pool.Get2DBuffer(key);
        const size_t expected = reference.Get(key);
        const size_t index = creationIndex.emplace(buffer, creationIndex.size()).first->second;
        ASSERT_EQ(index, expected) << "at step " << step;
        if (random() % 50 == 0)
            continue;  // taken and left empty: the next request keys it again
        const Qel2DVertex v{};
        if (key.lines)
            buffer->AddLine(v, v);
        else
            buffer->AddTriangle(v, v, v);
        reference.Add(expected);
    }
}

TEST(Qel2DBatchTest, buffers_of_one_key_drawn_one_after_another_form_one_run)
{
    Qel2DBufferPool pool;
    Qel2DBatchKey sprite = Key(4);
    Qel2DBatchKey otherTexture = Key(4);
    otherTexture.texture = reinterpret_cast<Qel2dBitmap*>(&pool);
    AddTriangles(pool, sprite, 150);      // two buffers in a row
    AddTriangles(pool, Key(9), 1);        // another layer: between them in the pool, not in the drawing
    AddTriangles(pool, sprite, 48);       // fills the second
    AddTriangles(pool, otherTexture, 1);  // same layer, another texture: ends the run
    AddTriangles(pool, sprite, 1);
    const auto runs = pool.RunsInDrawOrder();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].buffers.size(), 2u);
    EXPECT_EQ(runs[0].PrimitiveCount(), 198);
    EXPECT_EQ(runs[0].VertexCount(), 594);
    EXPECT_EQ(runs[1].Key(), otherTexture);
    EXPECT_EQ(runs[2].Key(), sprite);
    EXPECT_EQ(runs[2].PrimitiveCount(), 1);
    EXPECT_EQ(runs[3].Key().orderKey, 9);
}

}  // namespace
