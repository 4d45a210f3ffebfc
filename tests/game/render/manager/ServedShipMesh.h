#pragma once
// A small ship mesh held in a render manager's draw data as if loaded from
// its file, for the tests of the asset transfer: one unit of the given
// numbers of vertices and indices and one texture, every value telling which
// item it is, so a copy made chunk by chunk can be compared item by item.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/manager/RenderManager.h"
#include "tests/support/AuthoredHull.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace qeltest {

struct ServedMeshSize {
    int32_t vertices = 25;
    int32_t indices = 36;
    int32_t textureWidth = 10, textureHeight = 20;
};

inline QelVertexRecord NumberedVertex(int32_t i)
{
    QelVertexRecord vertex{};
    vertex.position[0] = static_cast<float>(i % 5) - 2.0f;
    vertex.position[1] = 0.25f * static_cast<float>(i % 3);
    vertex.position[2] = static_cast<float>(i / 5) - 2.0f;
    vertex.normal[1] = 1.0f;
    vertex.texCoord[0][0] = static_cast<float>(i) / 100.0f;
    vertex.colour[0] = vertex.colour[1] = vertex.colour[2] = vertex.colour[3] = 1.0f;
    return vertex;
}

// Pixel (x, y) of the served texture: alpha, red, green, blue.
inline std::array<float, 4> NumberedPixel(int32_t x, int32_t y)
{
    return {1.0f, static_cast<float>(x) / 16.0f, static_cast<float>(y) / 32.0f, 0.5f};
}

// The served hull's record ("test_hull", art root "TestHull"), with values
// the ship list's reader takes back, so a console keeps it with the mesh.
inline ShipDataRecord ServedHullRecord()
{
    ShipDataRecord record = InteriorRecord(8, 1, 1.0f, 0, 0.0f);
    record.meshScale = 1.0f;
    return record;
}

// Made under names of its own ("served_..." with the sizes), so a console's
// copy in the same graphics service lies in other lists, and a mesh of other
// sizes in others again.
inline void ServeShipMesh(RenderManager& manager, const std::string& shipKey, const ServedMeshSize& size = {})
{
    QelGraphicsFactoryBase& graphics = GraphicsService();
    QEL3DDrawUnit unit(&graphics);
    unit.shaderName = "Redwood";
    graphics.GetShader(unit.shaderName);
    const std::string name = "served_" + shipKey + "_" + std::to_string(size.vertices) + "_" +
                             std::to_string(size.indices) + "_" + std::to_string(size.textureWidth) + "x" +
                             std::to_string(size.textureHeight);
    unit.vertListNames = {name + "_verts"};
    unit.indexListNames = {name + "_indexes"};
    unit.textureNames = {name + "_texture"};
    QelVertexList* vertices = graphics.GetVertList(unit.vertListNames[0], size.vertices, false);
    for (int32_t i = 0; i < size.vertices; ++i)
        vertices->SetVertex(i, NumberedVertex(i));
    QelIndexList* indices = graphics.GetIndexList(unit.indexListNames[0], size.indices);
    for (int32_t i = 0; i < size.indices; ++i)
        indices->SetIndex(i, static_cast<uint32_t>((i * 7) % size.vertices));
    Qel2dBitmap* texture =
        graphics.GetRenderTarget(unit.textureNames[0], size.textureWidth, size.textureHeight, false);
    for (int32_t y = 0; y < size.textureHeight; ++y)
        for (int32_t x = 0; x < size.textureWidth; ++x) {
            const std::array<float, 4> p = NumberedPixel(x, y);
            texture->SetPixel(x, y, p[0], p[1], p[2], p[3]);
        }
    auto drawData = std::make_unique<ObjectTypeDrawData>();
    drawData->mesh = std::make_unique<QEL3DObject>();
    drawData->mesh->units.push_back(unit);
    manager.drawDataMap[shipKey] = std::move(drawData);
}

// The console's copy holds what was served, item by item.
inline void ExpectSameMesh(const QEL3DObject& served, const QEL3DObject& copy)
{
    ASSERT_EQ(served.units.size(), copy.units.size());
    for (size_t u = 0; u < served.units.size(); ++u) {
        const QEL3DDrawUnit &a = served.units[u], &b = copy.units[u];
        ASSERT_TRUE(b.Vertices() && b.IndexList(0));
        ASSERT_EQ(a.Vertices()->GetCount(), b.Vertices()->GetCount());
        for (int i = 0; i < a.Vertices()->GetCount(); ++i)
            EXPECT_EQ(std::memcmp(a.Vertices()->Vertices() + i, b.Vertices()->Vertices() + i, sizeof(QelVertex)), 0)
                << "vertex " << i;
        ASSERT_EQ(a.IndexList(0)->GetCount(), b.IndexList(0)->GetCount());
        for (int i = 0; i < a.IndexList(0)->GetCount(); ++i)
            EXPECT_EQ(a.IndexList(0)->GetIndex(i), b.IndexList(0)->GetIndex(i)) << "index " << i;
        ASSERT_EQ(a.textureNames.size(), b.textureNames.size());
        for (size_t t = 0; t < a.textureNames.size(); ++t) {
            Qel2dBitmap* from = GraphicsService().Find2DBitmap(a.textureNames[t]);
            Qel2dBitmap* to = GraphicsService().Find2DBitmap(b.textureNames[t]);
            ASSERT_TRUE(from && to);
            ASSERT_EQ(from->GetWidth(), to->GetWidth());
            ASSERT_EQ(from->GetHeight(), to->GetHeight());
            for (int y = 0; y < from->GetHeight(); ++y)
                for (int x = 0; x < from->GetWidth(); ++x) {
                    std::array<float, 4> p{}, q{};
                    from->GetPixel(x, y, p[0], p[1], p[2], p[3]);
                    to->GetPixel(x, y, q[0], q[1], q[2], q[3]);
                    EXPECT_EQ(p, q) << "pixel " << x << ", " << y;
                }
        }
    }
}

}  // namespace qeltest
