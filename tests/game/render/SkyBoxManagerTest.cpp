// The sky box headless: the cube it builds, what it binds to draw, the faces
// it cuts from a sky image's cross and keeps beside it, and how it takes,
// falls back from and lets go of a sky.

#include "game/render/SkyBoxManager.h"

#include "game/render/SkyFaces.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <utime.h>

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

// Deletions are noted; the sky shader records its draws.
class SkyGraphics : public qeltest::QuietGraphics {
public:
    void Delete2DBitmap(std::string name) override
    {
        deleted.push_back(name);
        qeltest::QuietGraphics::Delete2DBitmap(name);
    }
    QelDrawProcess* GetShader(std::string name) override { return name == "Skybox" ? &sky : nullptr; }

    std::vector<std::string> deleted;
    RecordingProcess sky;
};

// The colour a cross cell is painted in: its column and row, and a shade.
glm::ivec3 CellColour(int column, int row, int shade)
{
    return {40 * column + 10, 60 * row + 20, shade};
}

class SkyBoxManagerTest : public ::testing::Test {
protected:
    void SetUp() override { gGraphicsFactory = &graphics; }
    void TearDown() override { gGraphicsFactory = nullptr; }

    // A sky image below data/graphics: a cross of 4 x 3 cells of side
    // pixels, every cell in its own colour (the shade tells two images of
    // one name apart).
    void WriteSky(const std::string& name, int side, int shade = 0)
    {
        QelPixelImage image;
        image.Resize(side * kSkyCrossColumns, side * kSkyCrossRows);
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const glm::ivec3 c = CellColour(x / side, y / side, shade);
                image.SetPixel(x, y, 1.0f, c.r / 255.0f, c.g / 255.0f, c.b / 255.0f);
            }
        std::filesystem::create_directories(data.Path() / "graphics");
        ASSERT_TRUE(image.SavePNG(data / ("graphics/" + name + ".png")));
    }
    // Sets the file's modification time that many seconds back.
    void Age(const std::string& file, int seconds)
    {
        const time_t when = time(nullptr) - seconds;
        const utimbuf times{when, when};
        ASSERT_EQ(utime((data / file).c_str(), &times), 0);
    }
    // The colour at the middle of face i of the sky box's texture.
    glm::ivec3 FaceColour(const SkyBoxManager& box, int face)
    {
        auto* faces = dynamic_cast<QelCpuBitmap*>(box.Texture());
        EXPECT_NE(faces, nullptr);
        if (!faces)
            return {};
        const int w = faces->GetWidth() / kSkyFacesColumns, h = faces->GetHeight() / kSkyFacesRows;
        const uint8_t* p = faces->Pixels().Data() +
                           ((face / kSkyFacesColumns * h + h / 2) * faces->GetWidth() + face % kSkyFacesColumns * w +
                            w / 2) * 4;
        return {p[0], p[1], p[2]};
    }
    void ExpectFacesOf(const SkyBoxManager& box, int shade)
    {
        for (int face = 0; face < 6; ++face)
            EXPECT_EQ(FaceColour(box, face),
                      CellColour(kSkyCrossCells[face].column, kSkyCrossCells[face].row, shade))
                << "face " << face;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    SkyGraphics graphics;
};

TEST_F(SkyBoxManagerTest, the_cube_has_a_face_a_side_each_from_its_own_cell_of_the_faces)
{
    SkyBoxManager box;
    QelVertexList* vertices = graphics.FindVertList(SkyBoxManager::kVertexListName);
    QelIndexList* indices = graphics.FindIndexList(SkyBoxManager::kIndexListName);
    ASSERT_NE(vertices, nullptr);
    ASSERT_NE(indices, nullptr);
    ASSERT_EQ(vertices->GetCount(), 24);
    ASSERT_EQ(indices->GetCount(), 36);

    // Face, its side (axis and sign); its cell of the 3 x 2 faces is (i % 3, i / 3).
    struct Face {
        int axis;
        float side;
    };
    const Face faces[6] = {{1, 50}, {1, -50}, {0, 50}, {0, -50}, {2, -50}, {2, 50}};
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
            EXPECT_GT(u, (f % 3) / 3.0f) << "face " << f;
            EXPECT_LT(u, (f % 3 + 1) / 3.0f) << "face " << f;
            EXPECT_GT(w, (f / 3) / 2.0f) << "face " << f;
            EXPECT_LT(w, (f / 3 + 1) / 2.0f) << "face " << f;
        }
        // The four corners go round the face, so its two triangles cover it.
        EXPECT_NEAR(glm::distance(corners[0], corners[2]), 100.0f * std::sqrt(2.0f), 1e-3f);
        EXPECT_NEAR(glm::distance(corners[1], corners[3]), 100.0f * std::sqrt(2.0f), 1e-3f);
        const uint32_t k = static_cast<uint32_t>(f * 4);
        const uint32_t expected[6] = {k, k + 1, k + 2, k + 2, k + 3, k};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(indices->GetIndex(f * 6 + i), expected[i]);
    }

    // A texel in from the cell's edges, whatever size the sky has.
    WriteSky("sky1", 5);
    box.SetTexture("sky1");
    float u = 0, v = 0;
    vertices->GetTexCoord(0, 0, u, v);
    EXPECT_FLOAT_EQ(u, 1.0f / 15.0f);
    EXPECT_FLOAT_EQ(v, 1.0f / 10.0f);
}

TEST_F(SkyBoxManagerTest, it_draws_its_texture_with_the_view_given_and_nothing_without_one)
{
    SkyBoxManager box;
    const glm::mat4 view = glm::mat4(2.0f);
    EXPECT_FALSE(box.Draw(view));
    EXPECT_EQ(graphics.sky.draws, 0);  // no texture yet

    WriteSky("sky1", 4);
    box.SetTexture("sky1");
    EXPECT_TRUE(box.Draw(view));
    ASSERT_EQ(graphics.sky.draws, 1);
    EXPECT_EQ(graphics.sky.lastView, view);
    EXPECT_EQ(graphics.sky.lastWorld, glm::mat4(1.0f));
    EXPECT_EQ(graphics.sky.boundTextures, std::vector<Qel2dBitmap*>{graphics.Find2DBitmap("sky1.skyfaces")});
    ASSERT_EQ(graphics.sky.vertList.size(), 1u);
    EXPECT_EQ(graphics.sky.vertList[0], graphics.FindVertList(SkyBoxManager::kVertexListName));
}

TEST_F(SkyBoxManagerTest, the_faces_are_cut_from_their_cells_of_the_cross_and_half_its_size)
{
    WriteSky("sky1", 6);
    SkyBoxManager box;
    box.SetTexture("sky1");
    ASSERT_NE(box.Texture(), nullptr);
    EXPECT_EQ(box.Texture()->GetWidth(), 18);
    EXPECT_EQ(box.Texture()->GetHeight(), 12);
    ExpectFacesOf(box, 0);
}

// Decoded once: the faces are kept beside the image and read from there
// while they are newer than it; a newer image, or a kept file that does not
// read whole, has them made again.
TEST_F(SkyBoxManagerTest, the_faces_are_kept_beside_the_image_and_read_back_while_newer)
{
    const std::string kept = "graphics/sky1" + std::string(SkyFacesLoader::kFileExtension);
    WriteSky("sky1", 8, 1);
    Age("graphics/sky1.png", 100);
    SkyBoxManager().SetTexture("sky1");
    ASSERT_TRUE(std::filesystem::exists(data / kept));
    EXPECT_LT(std::filesystem::file_size(data / kept), 24u * 16 * 3) << "deflated";

    const auto freshLoad = [&] {
        graphics.Delete2DBitmap("sky1.skyfaces");
        auto box = std::make_unique<SkyBoxManager>();
        box->SetTexture("sky1");
        return box;
    };
    WriteSky("sky1", 8, 2);  // another picture of the same name, but older than the kept faces
    Age("graphics/sky1.png", 50);
    ExpectFacesOf(*freshLoad(), 1);

    Age(kept, 80);  // now the image is newer
    ExpectFacesOf(*freshLoad(), 2);

    // Damaged: its pixels do not inflate (a short file is caught by its size).
    {
        std::fstream file(data / kept, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(30);
        file.write("\xff\xff\xff\xff", 4);
    }
    WriteSky("sky1", 8, 3);
    Age("graphics/sky1.png", 200);
    ExpectFacesOf(*freshLoad(), 3);
    WriteSky("sky1", 8, 4);
    Age("graphics/sky1.png", 200);
    ExpectFacesOf(*freshLoad(), 3);  // the faces were kept again, whole
}

TEST_F(SkyBoxManagerTest, skies_fall_back_to_sky1_are_kept_and_let_go_of)
{
    WriteSky("sky1", 4);
    WriteSky("nebula_sky", 4, 9);
    SkyBoxManager box;
    box.SetTexture("nebula_sky");
    Qel2dBitmap* nebula = box.Texture();
    box.SetTexture("nebula_sky");  // the same name again: kept, not loaded anew
    EXPECT_EQ(box.Texture(), nebula);
    ExpectFacesOf(box, 9);

    box.SetTexture("no_such_sky");
    EXPECT_EQ(box.TextureName(), "sky1");
    EXPECT_EQ(box.Texture(), graphics.Find2DBitmap("sky1.skyfaces"));
    EXPECT_EQ(graphics.deleted, std::vector<std::string>{"nebula_sky.skyfaces"});
    box.SetTexture("nebula_sky");
    EXPECT_EQ(graphics.deleted.size(), 1u) << "sky1 stays for the next time it is wanted";
    EXPECT_NE(graphics.Find2DBitmap("sky1.skyfaces"), nullptr);

    // Too small for a cross, and no sky1 either: no texture, nothing drawn.
    std::filesystem::remove(data / "graphics/sky1.png");
    graphics.Delete2DBitmap("sky1.skyfaces");
    QelPixelImage tiny;
    tiny.Resize(3, 2);
    ASSERT_TRUE(tiny.SavePNG(data / "graphics/tiny.png"));
    box.SetTexture("tiny");
    EXPECT_EQ(box.Texture(), nullptr);
    EXPECT_FALSE(box.Draw(glm::mat4(1.0f)));
}

// Loading a step at a time: the sky drawn so far stays until the new one is
// complete; beginning only finds the image, the first step opens it, and a
// large image then takes a step a band of rows.
TEST_F(SkyBoxManagerTest, a_sky_loads_a_band_of_rows_a_step_while_the_old_one_is_drawn)
{
    WriteSky("sky1", 4);
    const int side = SkyFacesLoader::kRowsPerStep;  // the cross is three bands high
    WriteSky("big_sky", side, 5);
    SkyBoxManager box;
    box.SetTexture("sky1");
    Qel2dBitmap* first = box.Texture();
    box.BeginTexture("big_sky");
    int steps = 0;
    while (box.ContinueLoading()) {
        ++steps;
        EXPECT_EQ(box.Texture(), first);
        EXPECT_TRUE(box.Loading());
    }
    EXPECT_EQ(steps, 3) << "one step opens the image, two read a band each, the third band completes it";
    EXPECT_FALSE(box.Loading());
    EXPECT_EQ(box.TextureName(), "big_sky");
    ExpectFacesOf(box, 5);
}

}  // namespace
