#include <gtest/gtest.h>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <filesystem>

#include "game/render/Camera.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/RedwoodPointLight.h"
#include "game/world/ShipData.h"
#include "helper/CRand.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/OffscreenGraphicsTest.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kBlack[4] = {0, 0, 0, 1};
// The chase camera's place: 60 above and 160 behind the ship.
const glm::vec3 kChaseOffset(0, 60, -160);

// The game's own ships drawn lit through the chase camera over a star
// field, as the 3D view draws them, and read back.
class LitShipDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    LitShipDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        OffscreenGraphicsTest::SetUp();
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
        graphics.SetPerspective(kPi / 3, static_cast<float>(kWidth) / kHeight, 1.0f, 100000.0f);
    }
    void TearDown() override
    {
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        OffscreenGraphicsTest::TearDown();
    }

    // A field of stars behind everything, drawn first as 2D sprites.
    void DrawStars()
    {
        Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
        csrand(7);
        for (int i = 0; i < 150; ++i) {
            const float shine = 0.5f + static_cast<float>(crand() % 50) / 100.0f;
            const float colour[4] = {shine, shine, shine, 1};
            white->DrawRotated(static_cast<float>(crand() % kWidth), static_cast<float>(crand() % kHeight), 0, 0.3f,
                               0, colour, false);
        }
        graphics.Flush2D();
    }

    // The lit-ship constants of the 3D view for a camera at eye (negated)
    // looking along direction, every spot light off but the given one.
    void LightShips(const glm::vec3& eye, const glm::vec3& direction, const RedwoodPointLight& light)
    {
        QelDrawProcess* redwood = graphics.GetShader("Redwood");
        redwood->SetParameter("lightDir", 1, 0, 0, 0);
        redwood->SetParameter("cameraPos", eye.x, eye.y, eye.z, 1);
        redwood->SetParameter("cameraDir", direction.x, direction.y, direction.z, 1);
        redwood->SetParameter("lightColorIntensity", 1, 1, 1, 1);
        redwood->SetParameter("ambientColor", 0.3f, 0.3f, 0.3f, 0.3f);
        for (int i = 0; i < RedwoodPointLight::kSlots; ++i)
            RedwoodPointLight{}.Apply(redwood, i);
        light.Apply(redwood, 3);
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
};

TEST_F(LitShipDrawTest, the_frigate_from_the_chase_camera_covers_the_view_in_its_colours_over_the_stars)
{
    ObjectTypeDrawData frigate("tern_frigate", graphics);
    ASSERT_NE(frigate.mesh, nullptr);
    const glm::vec3 ship(0, 0, 0);
    Camera camera;
    camera.eye = -(ship + kChaseOffset);
    camera.target = -ship;
    camera.LookAtTarget();
    const glm::vec3 direction = glm::normalize(camera.eye - camera.target);

    GLQel2DBitmap* view = BeginTarget("chase-view", kWidth, kHeight, kBlack);
    DrawStars();
    LightShips(camera.eye, direction, {{1.0f, 0.55f, 0.2f}, {30, 10, -20}, 100});  // on the dark side
    const float scale = ShipData::Instance().Find("tern_frigate")->meshScale;
    frigate.mesh->Draw(glm::scale(glm::mat4(1.0f), glm::vec3(scale)), camera.matrix, nullptr);
    EndTarget(view);
    KeepTarget(view, "lit-ship-chase");

    // The ship fills the middle of the view, bright hull over dark space.
    int hull = 0, engines = 0, sky = 0, stars = 0;
    glm::vec3 hullColour(0.0f);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const qeltest::Rgba p = TargetAt(view, x, y);
            const float light = (p[0] + p[1] + p[2]) / 3;
            const bool middle = std::abs(x - kWidth / 2) < kWidth / 4 && std::abs(y - kHeight / 2) < kHeight / 4;
            const bool glowing = p[2] > 0.8f && p[2] > p[0] + 0.25f;
            engines += glowing;
            if (middle && light > 0.2f && !glowing) {
                ++hull;
                hullColour += glm::vec3(p[0], p[1], p[2]);
            }
            if (x < kWidth / 8 || x > kWidth * 7 / 8) {
                ++sky;
                stars += light > 0.4f;
            }
        }
    EXPECT_GT(hull, kWidth * kHeight / 4 / 20) << "the ship covers a good part of the middle of the view";
    hullColour /= static_cast<float>(hull);
    EXPECT_NEAR(hullColour.r, hullColour.b, 0.15f) << "a grey-white hull";
    EXPECT_GT(engines, 50) << "the engines glow blue seen from behind";
    EXPECT_GT(stars, 5);
    EXPECT_LT(stars, sky / 50) << "the sides show the star field, not the ship";
}

TEST_F(LitShipDrawTest, ships_of_every_class_draw_as_shapes_of_their_own)
{
    const char* const hulls[] = {"kestrel_fighter", "fleet_light_cruiser", "skarn_raider", "skarn_carrier",
                                 "starbase_civil", "skarn_depot", "asteroid_rock", "monster_dragon"};
    GLQel2DBitmap* sheet = BeginTarget("class-sheet", kWidth, kHeight, kBlack);
    const int columns = 4;
    for (size_t i = 0; i < std::size(hulls); ++i) {
        ObjectTypeDrawData drawData(hulls[i], graphics);
        ASSERT_NE(drawData.mesh, nullptr) << hulls[i];
        // Each hull in its own cell, seen from above and behind at a distance that fits its size.
        // A bitmap target holds its rows top first, so the first row of cells starts at y = 0.
        const int cellWidth = kWidth / columns, cellHeight = kHeight / 2;
        glViewport(static_cast<int>(i % columns) * cellWidth, static_cast<int>(i / columns) * cellHeight, cellWidth,
                   cellHeight);
        graphics.SetPerspective(kPi / 3, static_cast<float>(cellWidth) / cellHeight, 1.0f, 100000.0f);
        Camera camera;
        const glm::vec3 offset = glm::normalize(glm::vec3(0.6f, 0.8f, -1.0f)) * drawData.size * 1.2f;
        camera.eye = -offset;
        camera.target = glm::vec3(0);
        camera.LookAtTarget();
        LightShips(camera.eye, glm::normalize(camera.eye - camera.target), {{0.4f, 0.6f, 1.0f}, offset, drawData.size});
        drawData.mesh->Draw(glm::mat4(1.0f), camera.matrix, nullptr);
        EXPECT_NE(drawData.silhouette, nullptr) << hulls[i];
    }
    glViewport(0, 0, kWidth, kHeight);
    EndTarget(sheet);
    KeepTarget(sheet, "ship-classes");
    for (size_t i = 0; i < std::size(hulls); ++i) {
        const int left = static_cast<int>(i % columns) * kWidth / columns, top = static_cast<int>(i / columns) * kHeight / 2;
        int shown = 0;
        for (int y = top; y < top + kHeight / 2; ++y)
            for (int x = left; x < left + kWidth / columns; ++x) {
                const qeltest::Rgba p = TargetAt(sheet, x, y);
                shown += p[0] + p[1] + p[2] > 0.3f;
            }
        EXPECT_GT(shown, kWidth / columns * kHeight / 2 / 20) << hulls[i] << " shows in its cell";
    }
}

}  // namespace
