#include "engine/base/Qel2DBatch.h"

#include <gtest/gtest.h>

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
    for (Qel2DBuffer* buffer : pool.FilledInDrawOrder())
        buffer->Clear();
    AddTriangles(pool, Key(7), 3);
    EXPECT_EQ(pool.BufferCount(), 2u);
    EXPECT_EQ(pool.FilledInDrawOrder().front()->Key().orderKey, 7);
}

}  // namespace
