// The 3D view headless, on the recording graphics service: where the camera
// control puts the eye for every mode, which objects the view draws at what
// distance, the crop of the picture to boxes of any shape, and the planet
// and nebula records refreshed from the objects' data sets.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/ui/KeyVal.h"

#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"
#include "tests/support/GeneratedData.h"
#include "tests/game/render/manager/Render3DTestFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

::testing::AssertionResult Near(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-3f)
{
    if (glm::length(actual - expected) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not ("
                                         << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

void SetFloat(SpaceObject& object, const char* key, float value)
{
    WriteFloat(object.data_set, DataKey{key, kPlayDoc}, value);
}

void SetStamp(SpaceObject& object, const char* key, uint64_t value)
{
    WriteUInt64(object.data_set, DataKey{key, kPlayDoc}, value);
}

class Render3DTest : public Render3DTestFixture {
protected:
    const Camera& camera() const { return manager->render3D.camera; }
    // The world position of the eye and of the point looked at.
    glm::vec3 Eye() const { return -camera().eye; }
    glm::vec3 LookedAt() const { return -camera().target; }

    // Objects the last draw placed (and drew, unless it was the own ship in
    // first person).
    bool Placed(const SpaceObject* object) const { return manager->objectEffectRecords.count(object->uniqueID) > 0; }
};

TEST_F(Render3DTest, the_chase_camera_sits_above_and_behind_the_ship_turned_by_the_view_angle)
{
    struct Case {
        const char* angle;
        glm::vec3 offset;  // eye from the ship, for a ship turned a quarter to its right
    };
    // The ship's forward axis is world +x; "back" looks from in front of it.
    ship->rot_quat = glm::angleAxis(kPi / 2, glm::vec3(0, 1, 0));
    for (const Case& c : {Case{"forward", {-160, 60, 0}}, Case{"front", {-160, 60, 0}}, Case{"", {-160, 60, 0}},
                          Case{"back", {160, 60, 0}}, Case{"left", {0, 60, -160}}, Case{"right", {0, 60, 160}}}) {
        manager->cam_angle = c.angle;
        manager->render3D.UpdateCamera(ship);
        EXPECT_TRUE(Near(Eye(), ship->pos + c.offset)) << c.angle;
        EXPECT_TRUE(Near(LookedAt(), ship->pos)) << c.angle;
        // The view matrix looks from the eye at the ship: the ship straight
        // ahead, 170.9 away.
        const glm::vec4 seen = camera().matrix * glm::vec4(ship->pos, 1.0f);
        EXPECT_NEAR(seen.x, 0.0f, 1e-2f) << c.angle;
        EXPECT_NEAR(seen.y, 0.0f, 1e-2f) << c.angle;
        EXPECT_NEAR(glm::length(glm::vec3(seen)), std::sqrt(60.0f * 60 + 160 * 160), 1e-2f) << c.angle;
    }
    // The last, "right", looks from the ship's right across it.
    EXPECT_TRUE(Near(manager->render3D.ViewDirection(), glm::normalize(glm::vec3(0, -60, -160))));
}

TEST_F(Render3DTest, first_person_fighters_free_steering_and_tracking_place_the_eye_their_own_way)
{
    // First person: a hundredth of the chase offset.
    manager->cam_mode = "first_person";
    manager->render3D.UpdateCamera(ship);
    EXPECT_TRUE(Near(Eye(), ship->pos + glm::vec3(0, 0.6f, -1.6f)));

    // Tracking an object to the ship's right: the camera behind the ship on
    // the line to it, looking at it; tracking the ship itself is the chase.
    SpaceObject* other = Make("behav_npcship", "skarn_raider", ship->pos + glm::vec3(300, 0, 0));
    WriteUInt64(ship->data_set, DataKey{"camera_target_UID", kPlayDoc}, other->uniqueID);
    manager->cam_mode = "tracking";
    manager->render3D.UpdateCamera(ship);
    EXPECT_TRUE(Near(Eye(), ship->pos + glm::vec3(-160, 60, 0)));
    EXPECT_TRUE(Near(LookedAt(), other->pos));
    WriteUInt64(ship->data_set, DataKey{"camera_target_UID", kPlayDoc}, ship->uniqueID);
    manager->render3D.UpdateCamera(ship);
    EXPECT_TRUE(Near(Eye(), ship->pos + glm::vec3(0, 60, -160)));

    // Free steering rides 60 above and 160 behind, rolling with the ship.
    manager->cam_mode = "chase";
    ship->rot_quat = glm::angleAxis(0.7f, glm::normalize(glm::vec3(0.3f, 0.2f, 1.0f)));
    WriteString(ship->data_set, DataKey{"steeringType", kPlayDoc}, "Free");
    manager->render3D.UpdateCamera(ship);
    EXPECT_TRUE(Near(glm::vec3(camera().matrix * glm::vec4(ship->pos, 1)), glm::vec3(0, -60, 160)));
    EXPECT_TRUE(Near(glm::vec3(camera().matrix * glm::vec4(ship->pos + ship->ForwardVector(), 1)),
                     glm::vec3(0, -60, 161)));

    // A shuttle always gets the cockpit, whatever the mode was.
    manager->cam_mode = "cinematic";
    WriteInt(ship->data_set, DataKey{"is_shuttle_flag", kPlayDoc}, 1);
    manager->render3D.UpdateCamera(ship);
    EXPECT_EQ(manager->cam_mode, "first_person");
    EXPECT_TRUE(Near(glm::vec3(camera().matrix * glm::vec4(ship->pos + 5.0f * ship->ForwardVector(), 1)),
                     glm::vec3(0, 0, 5)));
    EXPECT_TRUE(Near(LookedAt(), ship->pos + 10.0f * ship->ForwardVector()));
}

TEST_F(Render3DTest, the_cinematic_camera_looks_from_its_dolly_at_its_target_and_drops_objects_that_went)
{
    manager->cam_mode = "cinematic";
    Render3D& view = manager->render3D;
    view.scriptControlsCamera = 1;  // the mission drives the camera: no automatic choice
    view.dollyPos = {500, 200, -300};
    view.targetPos = {10, 20, 30};
    view.UpdateCamera(ship);
    EXPECT_TRUE(Near(Eye(), view.dollyPos - glm::vec3(1, 0, 0)));
    EXPECT_TRUE(Near(LookedAt(), view.targetPos));

    // Riding an object and looking at another, offset by the targetPos.
    SpaceObject* dolly = Make("behav_npcship", "skarn_raider", {1000, 0, 0});
    SpaceObject* target = Make("behav_npcship", "skarn_raider", {0, 0, 1000});
    view.dollyID = dolly->uniqueID;
    view.targetID = target->uniqueID;
    view.dollyPos = {0, 50, 0};
    view.UpdateCamera(ship);
    EXPECT_TRUE(Near(LookedAt(), target->pos + view.targetPos));
    EXPECT_NEAR(glm::length(Eye() - dolly->pos), 50.0f, 1e-2f);

    // Both gone: the ids and the choice are dropped; the camera stays where
    // the chase put it.
    world->DeleteSpaceObject(dolly->uniqueID);
    world->DeleteSpaceObject(target->uniqueID);
    view.cinematic_chosen_tick = 5;
    view.UpdateCamera(ship);
    EXPECT_EQ(view.dollyID, 0u);
    EXPECT_EQ(view.targetID, 0u);
    EXPECT_EQ(view.cinematic_chosen_tick, 0);
    EXPECT_TRUE(Near(Eye(), ship->pos + glm::vec3(0, 60, -160)));
    EXPECT_TRUE(Near(LookedAt(), ship->pos));
}

TEST_F(Render3DTest, objects_are_drawn_up_to_their_class_distance_and_planets_anywhere_in_the_square)
{
    const float reach = AppData::GetFloat("render-distance-objects");
    const float asteroidReach = AppData::GetFloat("render-distance-asteroids");
    ASSERT_LT(asteroidReach, reach);
    SpaceObject* atLimit = Make("behav_npcship", "skarn_raider", ship->pos + glm::vec3(reach, 0, 0));
    SpaceObject* beyond = Make("behav_npcship", "skarn_raider", ship->pos + glm::vec3(0, 0, reach + 1));
    SpaceObject* rock = Make("behav_asteroid", "asteroid_rock", ship->pos + glm::vec3(asteroidReach + 1, 0, 0));
    SpaceObject* hole = Make("behav_static", "blackhole", ship->pos + glm::vec3(reach * 1.5f, 0, 0));
    world->Container()->ReinsertMoved();

    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    EXPECT_TRUE(Placed(ship));
    EXPECT_TRUE(Placed(atLimit));
    EXPECT_FALSE(Placed(beyond));
    EXPECT_FALSE(Placed(rock));
    EXPECT_TRUE(Placed(hole));

    // Aboard no ship, nothing is culled by distance, and only what lies in
    // the unit square at the origin is met.
    world->subjectID = 0;
    world->RepositionSpaceObject(ship, 5000, 0, 5000);
    manager->objectEffectRecords.clear();
    SpaceObject* atOrigin = Make("behav_npcship", "skarn_raider", {0.5f, 0, 0.5f});
    world->Container()->ReinsertMoved();
    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    EXPECT_TRUE(Placed(atOrigin));
    EXPECT_FALSE(Placed(ship));
}

TEST_F(Render3DTest, a_main_screen_set_to_draw_nothing_draws_nothing_only_in_the_cinematic_mode)
{
    manager->main_screen_view = "no_draw";
    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    EXPECT_TRUE(Placed(ship));
    manager->objectEffectRecords.clear();
    manager->cam_mode = "cinematic";
    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    EXPECT_FALSE(Placed(ship));
}

TEST(Render3DCropTest, the_picture_is_cut_to_the_box_shape_about_its_centre)
{
    struct Case {
        IntRect box;
        IntRect source;  // of a 1920 x 1080 picture
    };
    for (const Case& c : {
             Case{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}},      // the same shape: all of it
             Case{{0, 0, 960, 540}, {0, 0, 1920, 1080}},        // smaller, same shape
             Case{{100, 100, 1100, 320}, {0, 328, 1920, 752}},  // wide: rows go at top and bottom
             Case{{0, 0, 310, 700}, {720, 0, 1200, 1080}},      // narrow: columns go at both sides
             Case{{10, 10, 110, 111}, {425, 0, 1495, 1080}},    // nearly square
             Case{{0, 0, 0, 300}, {0, 0, 1920, 1080}},          // no width: left as it is
         }) {
        const IntRect source = Render3D::CropToRect(1920, 1080, c.box);
        EXPECT_EQ(source.left, c.source.left) << c.box.right << "x" << c.box.bottom;
        EXPECT_EQ(source.top, c.source.top) << c.box.right << "x" << c.box.bottom;
        EXPECT_EQ(source.right, c.source.right) << c.box.right << "x" << c.box.bottom;
        EXPECT_EQ(source.bottom, c.source.bottom) << c.box.right << "x" << c.box.bottom;
        EXPECT_EQ(source.left + source.right, 1920);  // the centre stays
        EXPECT_EQ(source.top + source.bottom, 1080);
    }
}

TEST_F(Render3DTest, a_planet_record_keeps_values_the_mission_leaves_at_zero_and_follows_its_stamp)
{
    SpaceObject* planet = Make("behav_static", "planet", {0, 0, 0});
    SetStamp(*planet, "planet_last_changed", 3);
    SetFloat(*planet, "planet_radius", 500);
    SetFloat(*planet, "planet_baseColorG", 0.4f);
    SetFloat(*planet, "planet_upperCloudExponent", 7);
    const PlanetParams& first = manager->UpdatePlanetParameters(*planet);
    EXPECT_EQ(first.stamp, 3u);
    EXPECT_EQ(first.radius, 500);
    EXPECT_EQ(first.baseColor[1], 0.4f);
    EXPECT_EQ(first.upperCloudExponent, 7);
    EXPECT_EQ(first.fresnel, 0);

    // Radius set to 0: kept. The same stamp reads again; an older one not.
    SetFloat(*planet, "planet_radius", 0);
    SetFloat(*planet, "planet_fresnel", 2);
    EXPECT_EQ(manager->UpdatePlanetParameters(*planet).radius, 500);
    EXPECT_EQ(manager->UpdatePlanetParameters(*planet).fresnel, 2);
    SetStamp(*planet, "planet_last_changed", 2);
    SetFloat(*planet, "planet_fresnel", 9);
    EXPECT_EQ(manager->UpdatePlanetParameters(*planet).fresnel, 2);
    EXPECT_EQ(&manager->UpdatePlanetParameters(*planet), &first);

    // A new simulation gives its objects the old ids again: the records go.
    manager->render3D.ClearEffects();
    EXPECT_TRUE(manager->planetParams.empty());
    SetStamp(*planet, "planet_last_changed", 1);
    EXPECT_EQ(manager->UpdatePlanetParameters(*planet).fresnel, 9);
}

TEST_F(Render3DTest, a_nebula_record_is_read_twice_at_first_then_only_when_its_stamp_grows)
{
    SpaceObject* nebula = Make("behav_nebula", "nebula", {0, 0, 0});
    SetStamp(*nebula, "nebula_last_changed", 7);
    SetFloat(*nebula, "display_size", 40);
    SetFloat(*nebula, "density", 3);
    SetFloat(*nebula, "swirl", 0.5f);
    WriteInt(nebula->data_set, DataKey{"theRenderManager->random_seed", kPlayDoc}, 0);
    const NebulaVolumeParams& record = manager->UpdateNebulaParameters(*nebula);
    EXPECT_EQ(record.stamp, 1u);
    EXPECT_EQ(record.radius, 80);
    EXPECT_EQ(record.density, 3);
    EXPECT_EQ(record.swirl, 0.5f);
    EXPECT_EQ(record.randomSeed, 0);  // 0 keeps the seed

    // Read again with its own stamp, with a display size of 0 left alone
    // (the radius is not doubled again) and a seed.
    SetFloat(*nebula, "display_size", 0);
    SetFloat(*nebula, "density", 4);
    WriteInt(nebula->data_set, DataKey{"theRenderManager->random_seed", kPlayDoc}, 99);
    manager->UpdateNebulaParameters(*nebula);
    EXPECT_EQ(record.stamp, 7u);
    EXPECT_EQ(record.radius, 80);
    EXPECT_EQ(record.density, 4);
    EXPECT_EQ(record.randomSeed, 99);

    // Not again until the stamp grows.
    SetFloat(*nebula, "density", 5);
    manager->UpdateNebulaParameters(*nebula);
    EXPECT_EQ(record.density, 4);
    SetStamp(*nebula, "nebula_last_changed", 8);
    SetFloat(*nebula, "display_size", 10);
    manager->UpdateNebulaParameters(*nebula);
    EXPECT_EQ(record.density, 5);
    EXPECT_EQ(record.radius, 20);
}

}  // namespace

namespace {

class RecordingDestroys : public PendingDestroySink {
public:
    void QueueDestroy(uint64_t spaceObjectId) override { queued.push_back(spaceObjectId); }
    std::vector<uint64_t> queued;
};

TEST_F(Render3DTest, the_hosts_key_that_deletes_the_science_selection_is_not_bound_by_default)
{
    RecordingDestroys destroys;
    world->serverFlag = true;
    world->SetPendingDestroySink(&destroys);
    SpaceObject* selection = Make("behav_npcship", "skarn_raider", {300, 0, 0});
    WriteUInt64(ship->data_set, DataKey{"science_target_UID", kPlayDoc}, selection->uniqueID);

    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    input.KeyDown(qel::vk::kLetterA + ('U' - 'A'));
    manager->render3D.Draw(IntRect{0, 0, 800, 600}, true);
    world->SetPendingDestroySink(nullptr);

    const HotKey* key = KeyVal::Find("debug_server_kill_sci_selection");
    ASSERT_NE(key, nullptr) << "the key is offered in the hot-key file";
    EXPECT_EQ(key->primary, 0);
    EXPECT_TRUE(destroys.queued.empty());
}

}  // namespace
