// What the 3D view draws over its picture, headless on the recording graphics
// service: lock reticles and name tags with their labels, edge pointers for
// points off the view, and the heading and height overlay of the main screen.

#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "tests/game/render/manager/Render3DTestFixture.h"

#include "helper/ColorParse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;

constexpr float kPi = std::numbers::pi_v<float>;

class Render3DOverlaysTest : public Render3DTestFixture {
protected:
    void SetUp() override
    {
        Render3DTestFixture::SetUp();
        graphics.AddBitmap("reticle-set", 640, 512);
        ship->side = "navy";
        width = static_cast<float>(manager->mainBuffWidth);
        height = static_cast<float>(manager->mainBuffHeight);
    }
    SpaceObject* Place(const char* behaviour, const char* shipKey, const glm::vec3& at)
    {
        SpaceObject* object = Make(behaviour, shipKey, at);
        world->Container()->ReinsertMoved();
        return object;
    }
    void Scan(SpaceObject& object)
    {
        WriteString(object.data_set, DataKey{"scan", kPlayDoc}, "scanned",
                    ObjectDataBlob::IndexOfString(ship->side));
    }
    // The eye at the world point looking level along the compass heading
    // (radians; 0 along +z, a quarter turn along +x).
    void LookFrom(const glm::vec3& at, float heading)
    {
        Camera& camera = view().camera;
        camera.eye = -at;
        camera.matrix = camera.LookAt(-at, -(at + glm::vec3(std::sin(heading), 0.0f, std::cos(heading))));
    }
    Render3D::LockReticle Queued(const glm::vec3& at)
    {
        view().reticle_queue.clear();
        view().DrawLockReticle(Render3D::kWeaponLockReticle, "red", glm::vec4(1), at, "x");
        return view().reticle_queue.back();
    }
    Render3D& view() { return manager->render3D; }
    // A screen rectangle the main target's size: its pixels are the screen's.
    IntRect TargetSized() const { return IntRect{0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)}; }
    std::vector<DrawRecord> Texts(const std::string& text) const
    {
        return graphics.Where([&](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Text && r.text == text; });
    }
    std::vector<DrawRecord> Reticles() const { return graphics.From("reticle-set"); }

    float width = 0.0f;
    float height = 0.0f;
};

TEST_F(Render3DOverlaysTest, a_point_ahead_gets_its_reticle_where_it_lies_and_others_an_edge_pointer)
{
    LookFrom({0, 0, 0}, 0.0f);
    const float size = AppData::GetFloat("lock-reticle-size-3D");
    struct Case {
        glm::vec3 at;
        int32_t kind;
        float size;
        glm::vec2 position;
        float angle;
    };
    const float ring = height / 3.0f;
    const glm::vec2 centre(width / 2, height / 2);
    // The recording service projects with the identity: the screen is x / z
    // and y / z of the eye's space across half the target.
    const Case cases[] = {
        {{0, 0, 1000}, Render3D::kWeaponLockReticle, size, centre, 0.0f},
        {{100, 50, 1000}, Render3D::kWeaponLockReticle, size, centre + glm::vec2(0.1f * width / 2, -0.05f * height / 2),
         0.0f},
        // Behind, to the right, 1500 away: a 35-pixel pointer at the ring's
        // right, turned an eighth.
        {{900, 0, -1200}, Render3D::kEdgePointerReticle, 35.0f, centre + glm::vec2(ring, 0), kPi / 4},
        // Ahead but far off the axis: still a pointer, toward it.
        {{1000, 0, 500}, Render3D::kEdgePointerReticle, 50.0f - 1118.034f / 3000.0f * 30.0f,
         centre + glm::vec2(ring, 0), kPi / 4},
        // In the eye's plane, above, beyond 3000: the smallest pointer, up.
        {{0, 5000, 0}, Render3D::kEdgePointerReticle, 20.0f, centre - glm::vec2(0, ring), 3 * kPi / 4},
        // Straight behind has no bearing: up too.
        {{0, 0, -100}, Render3D::kEdgePointerReticle, 50.0f - 1.0f, centre - glm::vec2(0, ring), 3 * kPi / 4},
    };
    for (const Case& c : cases) {
        const Render3D::LockReticle entry = Queued(c.at);
        SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.y << ", " << c.at.z);
        EXPECT_EQ(entry.kind, c.kind);
        EXPECT_NEAR(entry.size, c.size, 0.01f);
        EXPECT_NEAR(entry.position.x, c.position.x, 0.01f);
        EXPECT_NEAR(entry.position.y, c.position.y, 0.01f);
        EXPECT_NEAR(entry.angle, c.angle, 1e-4f);
        EXPECT_EQ(entry.label, "x");
    }
}

TEST_F(Render3DOverlaysTest, reticles_turn_back_a_hundredth_of_a_radian_each_tick)
{
    LookFrom({0, 0, 0}, 0.0f);
    world->clock.time_tick_counter = 200;
    EXPECT_NEAR(Queued({0, 0, 1000}).angle, -2.0f, 1e-5f);
    world->clock.time_tick_counter = 201;
    EXPECT_NEAR(Queued({0, 0, 1000}).angle, -2.01f, 1e-5f);
}

TEST_F(Render3DOverlaysTest, locks_on_scanned_targets_waypoints_and_name_tags_are_drawn_with_shadowed_labels)
{
    SpaceObject* enemy = Place("behav_npcship", "skarn_raider", {100, 0, 450});
    WriteString(enemy->data_set, DataKey{"name_tag", kPlayDoc}, "Raider");
    SpaceObject* unscanned = Place("behav_npcship", "skarn_raider", {300, 0, 450});
    WriteString(unscanned->data_set, DataKey{"name_tag", kPlayDoc}, "Ghost");
    WriteUInt64(ship->data_set, DataKey{"weapon_target_UID", kPlayDoc}, enemy->uniqueID);
    WriteUInt64(ship->data_set, DataKey{"science_target_UID", kPlayDoc}, unscanned->uniqueID);
    WriteInt(ship->data_set, DataKey{"waypoint_count", kPlayDoc}, 1);
    WriteFloat(ship->data_set, DataKey{"waypoint_z_array", kPlayDoc}, 900.0f);
    WriteString(ship->data_set, DataKey{"waypoint_name_array", kPlayDoc}, "Nav A");
    Scan(*enemy);

    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, true); });
    // The weapon lock and the enemy's name tag; the waypoint; nothing for
    // the unscanned science target, not even its name.
    EXPECT_EQ(Reticles().size(), 3u);
    // The lock's label and the name tag say the same at the same place: one
    // label with its shadow, not two written over each other.
    EXPECT_EQ(Texts("Raider").size(), 2u);
    EXPECT_EQ(Texts("Nav A").size(), 2u);
    EXPECT_TRUE(Texts("Ghost").empty());
    EXPECT_TRUE(view().reticle_queue.empty());

    const std::vector<DrawRecord> waypoint = Texts("Nav A");
    const DrawRecord& label = waypoint[0].layer == 1004 ? waypoint[0] : waypoint[1];
    const DrawRecord& shadow = waypoint[0].layer == 1004 ? waypoint[1] : waypoint[0];
    EXPECT_EQ(label.layer, 1004);
    EXPECT_EQ(shadow.layer, 1003);
    EXPECT_EQ(shadow.colour, glm::vec4(0, 0, 0, 1));
    glm::vec4 green{0.0f};
    ParseColor(green, AppData::GetString("gui-color-waypoint"));
    EXPECT_EQ(label.colour, green);
    EXPECT_EQ(shadow.box.left, label.box.left + 3);
    EXPECT_EQ(shadow.box.top, label.box.top + 3);
    EXPECT_EQ(label.box.right - label.box.left, 2000);
    EXPECT_EQ(label.box.bottom - label.box.top, 50);

    // The cinematic camera shows none, and the queue still empties.
    manager->cam_mode = "cinematic";
    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, true); });
    EXPECT_TRUE(Reticles().empty());
    EXPECT_TRUE(view().reticle_queue.empty());
}

// The overlay's marks: quads of the white bitmap in the main colour.
std::vector<DrawRecord> Marks(const qeltest::RecordingGraphics2D& graphics)
{
    return graphics.Where([](const DrawRecord& r) {
        return r.kind == DrawRecord::Kind::Quad && r.source == "smallWhite" && r.colour == theUIContext.mainColour;
    });
}

TEST_F(Render3DOverlaysTest, the_heading_reads_in_degrees_over_a_scale_that_slides_ten_pixels_a_degree)
{
    struct Case {
        float degrees;
        std::string text;
        float nearestMarkOffset;  // from the centre, pixels
    };
    const Case cases[] = {{0.0f, "0", 0.0f}, {5.4f, "5", -50.0f}, {90.0f, "90", 0.0f}, {273.0f, "273", -30.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LookFrom({0, 0, 0}, c.degrees / 180.0f * kPi);
        Frame([&] { view().DrawHeadingOverlay(*ship, TargetSized()); });
        const std::vector<DrawRecord> heading = Texts(c.text);
        ASSERT_EQ(std::count_if(heading.begin(), heading.end(), [](const DrawRecord& r) { return r.layer == 1100; }),
                  1);
        // The centre mark and, a little lower, the scale's marks 100 apart
        // between 30 % and 70 % of the width.
        std::vector<float> scale;
        bool centreMark = false;
        const float row = 0.1f * height + 20.0f;
        for (const DrawRecord& mark : Marks(graphics)) {
            const float x = (mark.Left() + mark.Right()) / 2;
            if (mark.Top() == row - 7.0f && x == width / 2)
                centreMark = true;
            if (mark.Top() == row + 2.0f - 7.0f) {
                EXPECT_EQ(mark.Right() - mark.Left(), 4.0f);
                EXPECT_EQ(mark.Bottom() - mark.Top(), 14.0f);
                scale.push_back(x);
            }
        }
        EXPECT_TRUE(centreMark);
        std::sort(scale.begin(), scale.end());
        ASSERT_FALSE(scale.empty());
        EXPECT_GT(scale.front(), 0.3f * width);
        EXPECT_LT(scale.back(), 0.7f * width);
        EXPECT_LE(scale.front() - 100.0f, 0.3f * width);
        EXPECT_GE(scale.back() + 100.0f, 0.7f * width);
        for (size_t i = 1; i < scale.size(); ++i)
            EXPECT_EQ(scale[i] - scale[i - 1], 100.0f);
        EXPECT_TRUE(std::find(scale.begin(), scale.end(), width / 2 + c.nearestMarkOffset) != scale.end());
    }
}

TEST_F(Render3DOverlaysTest, the_height_reads_in_tens_with_its_sign_over_a_ladder_of_a_rung_each_200_units)
{
    struct Case {
        float y;
        std::string text;
        float firstRungRise;  // pixels above the middle
    };
    const Case cases[] = {{0.0f, "0", 0.0f}, {15.0f, "+10", 6.0f}, {-15.0f, "-10", -6.0f}, {250.0f, "+250", 20.0f}};
    LookFrom({0, 0, 0}, 0.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        world->RepositionSpaceObject(ship, 100, c.y, 50);
        Frame([&] { view().DrawHeadingOverlay(*ship, TargetSized()); });
        const std::vector<DrawRecord> shown = Texts(c.text);
        ASSERT_EQ(std::count_if(shown.begin(), shown.end(), [](const DrawRecord& r) { return r.layer == 1000; }), 1);
        const float ladder = std::floor(width / 6) * 5 - 50;
        std::vector<float> rungs;
        for (const DrawRecord& mark : Marks(graphics))
            if (mark.Left() == ladder - 22 && mark.Right() == ladder - 8)
                rungs.push_back((mark.Top() + mark.Bottom()) / 2);
        std::sort(rungs.begin(), rungs.end());
        ASSERT_FALSE(rungs.empty());
        EXPECT_GT(rungs.front(), 0.3f * height);
        EXPECT_LT(rungs.back(), 0.7f * height);
        for (size_t i = 1; i < rungs.size(); ++i)
            EXPECT_EQ(rungs[i] - rungs[i - 1], 80.0f);
        EXPECT_TRUE(std::find(rungs.begin(), rungs.end(), height / 2 - c.firstRungRise) != rungs.end());
    }
}

TEST_F(Render3DOverlaysTest, only_the_full_view_of_a_ship_outside_the_cinematic_mode_has_the_overlay)
{
    const auto headingTexts = [&] {
        return graphics.Where([](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Text && r.layer == 1100; });
    };
    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, true); });
    EXPECT_EQ(headingTexts().size(), 1u);
    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, false); });
    EXPECT_TRUE(headingTexts().empty());
    manager->cam_mode = "cinematic";
    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, true); });
    EXPECT_TRUE(headingTexts().empty());
    manager->cam_mode = "chase";
    world->subjectID = 0;
    Frame([&] { view().Draw(IntRect{0, 0, 800, 450}, true); });
    EXPECT_TRUE(headingTexts().empty());
}

// Drawn over a rectangle of another size, each mark lands where the copied
// picture shows the target pixel it was laid out on.
TEST_F(Render3DOverlaysTest, the_overlay_lands_where_the_copied_picture_shows_the_targets_pixels)
{
    LookFrom({0, 0, 0}, 0.0f);
    world->RepositionSpaceObject(ship, 100, 0, 50);
    const IntRect half{100, 50, 100 + static_cast<int32_t>(width) / 2, 50 + static_cast<int32_t>(height) / 2};
    Frame([&] { view().DrawHeadingOverlay(*ship, half); });
    const float scale = 0.5f;
    const float row = 0.1f * height + 20.0f;
    const float ladder = std::floor(width / 6) * 5 - 50;
    bool headingCentre = false, heightCentre = false;
    for (const DrawRecord& mark : Marks(graphics)) {
        headingCentre |= mark.Left() == 100 + (width / 2 - 2) * scale && mark.Top() == 50 + (row - 7) * scale &&
                         mark.Right() - mark.Left() == 4 * scale;
        heightCentre |= mark.Left() == 100 + (ladder - 7) * scale && mark.Top() == 50 + (height / 2 - 2) * scale &&
                        mark.Bottom() - mark.Top() == 4 * scale;
    }
    EXPECT_TRUE(headingCentre);
    EXPECT_TRUE(heightCentre);
    const std::vector<DrawRecord> heading = Texts("0");
    ASSERT_FALSE(heading.empty());
    EXPECT_EQ((heading.front().box.left + heading.front().box.right) / 2, half.left + (half.right - half.left) / 2);

    // A tall rectangle shows the middle of the picture: what the crop leaves
    // out, the height ladder and its text among it, stays off the screen.
    const IntRect tall{100, 50, 300, 650};
    Frame([&] { view().DrawHeadingOverlay(*ship, tall); });
    const std::vector<DrawRecord> marks = Marks(graphics);
    ASSERT_FALSE(marks.empty());
    for (const DrawRecord& mark : marks) {
        EXPECT_GE(mark.Left(), tall.left);
        EXPECT_LE(mark.Right(), tall.right);
        EXPECT_GE(mark.Top(), tall.top);
        EXPECT_LE(mark.Bottom(), tall.bottom);
    }
    EXPECT_EQ(Texts("0").size(), 1u);  // the heading's, not the height's
}

}  // namespace
