// The sky box headless: the cube it builds, what it binds to draw, and how it
// takes, falls back from and lets go of its texture.

#include "game/render/SkyBoxManager.h"

#include "tests/support/QuietGraphics.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cmath>
#include <set>

namespace {

// Draws nothing; notes what it was given to draw.
class RecordingProcess : public QelDrawProcess {
public:
    void Draw2D() override {}
    void Draw3D(const glm::mat4& world, const glm::mat4& v, void*, int, int) override
    {
        ++draws;
        lastWorld = world;
        lastView = v;
        boundTextures = bitmap2DList;
    }
    void SetParameter(std::string, float, float, float, float) override {}

    int draws = 0;
    glm::mat4 lastWorld{0.0f}, lastView{0.0f};
    std::vector<Qel2dBitmap*> boundTextures;
};

// Bitmaps of the listed names "load"; loads and deletions are noted.
class SkyGraphics : public qeltest::QuietGraphics {
public:
    Qel2dBitmap* Load2DBitmap(std::string name) override
    {
        calls.push_back("load " + name);
        if (Qel2dBitmap* stored = Find2DBitmap(name))
            return stored;
        if (!available.count(name))
            return nullptr;
        return (bitmaps[name] = std::make_unique<QelCpuBitmap>()).get();
    }
    Qel2dBitmap* Find2DBitmap(std::string name) override
    {
        const auto found = bitmaps.find(name);
        return found == bitmaps.end() ? nullptr : found->second.get();
    }
    void Delete2DBitmap(std::string name) override
    {
        calls.push_back("delete " + name);
        bitmaps.erase(name);
    }
    QelDrawProcess* GetShader(std::string name) override { return name == "Skybox" ? &sky : nullptr; }

    std::set<std::string> available{"sky1", "nebula_sky", "smallWhite"};
    std::map<std::string, std::unique_ptr<QelCpuBitmap>> bitmaps;
    std::vector<std::string> calls;
    RecordingProcess sky;
};

class SkyBoxManagerTest : public ::testing::Test {
protected:
    void SetUp() override { gGraphicsFactory = &graphics; }
    void TearDown() override { gGraphicsFactory = nullptr; }

    SkyGraphics graphics;
};

TEST_F(SkyBoxManagerTest, the_cube_has_a_face_a_side_each_from_its_own_cell_of_the_cross)
{
    SkyBoxManager box;
    QelVertexList* vertices = graphics.FindVertList(SkyBoxManager::kVertexListName);
    QelIndexList* indices = graphics.FindIndexList(SkyBoxManager::kIndexListName);
    ASSERT_NE(vertices, nullptr);
    ASSERT_NE(indices, nullptr);
    ASSERT_EQ(vertices->GetCount(), 24);
    ASSERT_EQ(indices->GetCount(), 36);

    // Face, its side (axis and sign) and its cell of the 4 × 3 cross.
    struct Face {
        int axis;
        float side;
        int column, row;
    };
    const Face faces[6] = {{1, 50, 1, 1}, {1, -50, 3, 1}, {0, 50, 2, 1}, {0, -50, 0, 1}, {2, -50, 1, 0}, {2, 50, 1, 2}};
    for (int f = 0; f < 6; ++f) {
        glm::vec3 corners[4];
        for (int c = 0; c < 4; ++c) {
            const int v = f * 4 + c;
            vertices->GetPosition(v, corners[c].x, corners[c].y, corners[c].z);
            EXPECT_EQ(corners[c][faces[f].axis], faces[f].side) << "face " << f;
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_EQ(std::fabs(corners[c][axis]), 50.0f) << "face " << f;
            glm::vec3 normal;
            vertices->GetVector(v, 0, normal.x, normal.y, normal.z);
            EXPECT_EQ(normal[faces[f].axis], faces[f].side / 50.0f) << "face " << f;
            float u = 0, w = 0;
            vertices->GetTexCoord(v, 0, u, w);
            EXPECT_GT(u, faces[f].column / 4.0f) << "face " << f;
            EXPECT_LT(u, (faces[f].column + 1) / 4.0f) << "face " << f;
            EXPECT_GT(w, faces[f].row / 3.0f) << "face " << f;
            EXPECT_LT(w, (faces[f].row + 1) / 3.0f) << "face " << f;
        }
        // The four corners go round the face, so its two triangles cover it.
        EXPECT_NEAR(glm::distance(corners[0], corners[2]), 100.0f * std::sqrt(2.0f), 1e-3f);
        EXPECT_NEAR(glm::distance(corners[1], corners[3]), 100.0f * std::sqrt(2.0f), 1e-3f);
        const uint32_t k = static_cast<uint32_t>(f * 4);
        const uint32_t expected[6] = {k, k + 1, k + 2, k + 2, k + 3, k};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(indices->GetIndex(f * 6 + i), expected[i]);
    }
    float u = 0, v = 0;
    vertices->GetTexCoord(0, 0, u, v);
    EXPECT_FLOAT_EQ(u, 0.25f + 1.0f / 4096.0f);
    EXPECT_FLOAT_EQ(v, 1.0f / 3.0f + 1.0f / 3000.0f);
}

TEST_F(SkyBoxManagerTest, it_draws_its_texture_with_the_view_given_and_nothing_without_one)
{
    SkyBoxManager box;
    const glm::mat4 view = glm::mat4(2.0f);
    box.Draw(view);
    EXPECT_EQ(graphics.sky.draws, 0);  // no texture yet

    box.SetTexture("sky1");
    box.Draw(view);
    ASSERT_EQ(graphics.sky.draws, 1);
    EXPECT_EQ(graphics.sky.lastView, view);
    EXPECT_EQ(graphics.sky.lastWorld, glm::mat4(1.0f));
    EXPECT_EQ(graphics.sky.boundTextures, std::vector<Qel2dBitmap*>{graphics.Find2DBitmap("sky1")});
    ASSERT_EQ(graphics.sky.vertList.size(), 1u);
    EXPECT_EQ(graphics.sky.vertList[0], graphics.FindVertList(SkyBoxManager::kVertexListName));
}

TEST_F(SkyBoxManagerTest, textures_are_reloaded_fall_back_to_sky1_and_another_owner_keeps_its_own)
{
    SkyBoxManager box;
    box.SetTexture("nebula_sky");
    box.SetTexture("nebula_sky");  // the same name again: let go of and loaded anew
    EXPECT_EQ(graphics.calls,
              (std::vector<std::string>{"load nebula_sky", "delete nebula_sky", "load nebula_sky"}));

    graphics.calls.clear();
    box.SetTexture("no_such_sky");
    EXPECT_EQ(box.TextureName(), "sky1");
    EXPECT_EQ(box.Texture(), graphics.Find2DBitmap("sky1"));
    box.SetTexture("nebula_sky");  // the fallback is what goes now
    EXPECT_EQ(graphics.calls, (std::vector<std::string>{"delete nebula_sky", "load no_such_sky", "load sky1",
                                                        "delete sky1", "load nebula_sky"}));

    // A bitmap loaded before by someone else is never pulled from under them.
    ASSERT_NE(graphics.Load2DBitmap("smallWhite"), nullptr);
    box.SetTexture("smallWhite");
    box.SetTexture("sky1");
    EXPECT_NE(graphics.Find2DBitmap("smallWhite"), nullptr);

    // Neither the name nor the fallback loads: no texture, nothing drawn.
    graphics.available.clear();
    graphics.bitmaps.clear();
    box.SetTexture("gone");
    EXPECT_EQ(box.Texture(), nullptr);
    box.Draw(glm::mat4(1.0f));
    EXPECT_EQ(graphics.sky.draws, 0);
}

}  // namespace
