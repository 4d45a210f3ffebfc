// Torpedo stock, tubes and launches: what a launch makes, what it takes from
// the ship, and what it tells the mission.

#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "game/world/ObjectId.h"
#include "game/world/ServerStringMap.h"
#include "game/world/ShipKeys.h"
#include "tests/support/RecordingMusic.h"

#include <glm/gtc/quaternion.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace shipkeys;
using simtest::WorldTest;

// The missile behaviour as far as a launch needs it: its set-up reads the
// definition, and a definition naming "mine" lays a mine.
void MissileSetUp(Simulation&, SpaceObject* torpedo, int32_t message, void*)
{
    if (message != kBehaviourAssigned)
        return;
    const std::string definition = ReadString(torpedo->data_set, kTorpedoDefinition);
    WriteString(torpedo->data_set, kBehavior, definition.find("mine") != std::string::npos ? "mine" : "seek", 3);
}

class TorpedoTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        if (!AIHookMap().IsRegistered("behav_missile"))
            AIHookMap().Register("behav_missile", &MissileSetUp);
        ship = Make(100, 200);
        ship->side = "meridian";
        ship->rot_quat = glm::angleAxis(0.5f, glm::vec3(0, 1, 0));
        ObjectDataBlob& blob = ship->data_set;
        DeclareInt(blob, kTorpedoTubeCount, 3);
        blob.SetInt("Homing_NUM", 5, 0, "a");
        blob.SetInt("Homing_MAX", 8, 0, "a");
        blob.SetInt("Nuke_NUM", 1, 0, "a");
        Load(0, "loaded", "Homing");
        Load(1, "empty", "Homing");  // a spent tube that still names its type
        Load(2, "loading", "Nuke");
    }
    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        WorldTest::TearDown();
    }

    void Load(int32_t tube, const std::string& state, const std::string& type)
    {
        WriteString(ship->data_set, kTorpedoTubeState, state, tube);
        WriteString(ship->data_set, kTorpedoTubeCurrentType, type, tube);
        WriteFloat(ship->data_set, kTorpedoTubePercentLoaded, 100.0f, tube);
    }

    // The launched torpedo, once the frame step has let it in.
    SpaceObject* Admitted(uint64_t id)
    {
        world.FrameUpdate();
        return world.GetSpaceObject(id);
    }

    std::string Text(const DataKey& key, int32_t index = 0) const { return ReadString(ship->data_set, key, index); }

    SpaceObject* ship = nullptr;
};

TEST_F(TorpedoTest, stock_counts_only_tubes_that_hold_the_type)
{
    // One loaded Homing tube: 5 on board, 1 of them in a tube.
    EXPECT_EQ(world.TorpedoCountText(*ship, "Homing"), "5 / 8 T");
    EXPECT_TRUE(world.TorpedoTypeAvailable(*ship, "Homing"));
    // The only Nuke is in its tube; a type never stocked is not available.
    EXPECT_EQ(world.TorpedoCountText(*ship, "Nuke"), "1 / 0 T");
    EXPECT_FALSE(world.TorpedoTypeAvailable(*ship, "Nuke"));
    EXPECT_FALSE(world.TorpedoTypeAvailable(*ship, "EMP"));
    EXPECT_EQ(world.TorpedoCountText(*ship, "EMP"), "0 / 0 ");
}

TEST_F(TorpedoTest, a_launch_makes_a_pending_torpedo_from_the_tube_and_empties_it)
{
    ServerStringMap::Instance().Set("Homing", "speed:12; damage:40");
    WriteUInt64(ship->data_set, kWeaponTargetUid, ship->uniqueID);
    const uint64_t id = world.LaunchTorpedo(*ship, 0, false);
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(world.SpaceObjectExists(id)) << "it joins the registry at the next frame step";

    SpaceObject* torpedo = Admitted(id);
    ASSERT_NE(torpedo, nullptr);
    EXPECT_EQ(torpedo->tick_type, "behav_missile");
    EXPECT_EQ(torpedo->data_tag, "torpedo");
    EXPECT_EQ(torpedo->abits, SpaceObject::kFastMoverBit);
    EXPECT_EQ(torpedo->side, "meridian");
    EXPECT_EQ(torpedo->cur_speed, 10.0f);
    EXPECT_EQ(torpedo->fat_radius, 400.0f);
    EXPECT_LE(glm::length(torpedo->pos - ship->pos), 0.02f);
    EXPECT_NE(torpedo->pos, ship->pos) << "jittered off the ship's centre";
    // The ship's heading, dipped 0.1 rad about the torpedo's own X axis.
    const glm::quat expected = ship->rot_quat * glm::angleAxis(-0.1f, glm::vec3(1, 0, 0));
    EXPECT_NEAR(glm::dot(torpedo->rot_quat, expected), 1.0f, 1e-6f);

    const ObjectDataBlob& t = torpedo->data_set;
    EXPECT_EQ(ReadString(t, kTorpedoDefinition), "speed:12; damage:40");
    EXPECT_EQ(ReadString(t, kTorpedoKey), "Homing");
    EXPECT_EQ(ReadString(t, kTorpedoTypeValue), "Homing");
    EXPECT_EQ(ReadString(t, kBehavior, 3), "seek") << "its behaviour set it up";
    const glm::vec3 landing = ship->pos + ship->rot_quat * glm::vec3(0, 0, -601);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_FLOAT_EQ(ReadFloat(t, kLandingPoint, axis), landing[axis]);
    EXPECT_EQ(ReadUInt64(t, kWeaponTargetUid), ship->uniqueID);
    EXPECT_EQ(ReadUInt64(t, kParentUid), ship->uniqueID);

    EXPECT_EQ(ReadInt(ship->data_set, DataKey{"Homing_NUM", ""}), 4);
    EXPECT_EQ(Text(kTorpedoTubeState), "empty");
    EXPECT_EQ(Text(kTorpedoTubeCurrentType), "");
    EXPECT_EQ(ReadFloat(ship->data_set, kTorpedoTubePercentLoaded), 0.0f);
}

TEST_F(TorpedoTest, the_launch_is_heard_and_queued_for_the_mission)
{
    qeltest::RecordingMusic music;
    gMusicControl = &music;
    RunTicks(7);
    const uint64_t first = world.LaunchTorpedo(*ship, 0, false);
    const uint64_t second = world.LaunchTorpedo(*ship, 2, false);
    gMusicControl = nullptr;
    EXPECT_EQ(music.calls, std::vector<std::string>(2, "RaiseMusicTension 50.000000")) << "firing stirs the music";

    ASSERT_EQ(world.soundEvents.size(), 2u) << "two launches in one tick, no gap between them";
    EXPECT_EQ(world.soundEvents[0].name, "torpedo_launch");
    EXPECT_TRUE(scripts.events.empty()) << "the launch waits in the queue for the server's tick";
    ASSERT_EQ(scripts.queued.size(), 2u);
    const EventMessage& e = scripts.queued[0];
    EXPECT_EQ(e.tag, "player_launches_missile");
    EXPECT_EQ(e.origin_id, first);
    EXPECT_EQ(e.parent_id, ship->uniqueID);
    EXPECT_EQ(e.extra_tag, "meridian");
    EXPECT_EQ(e.extra_extra_tag, "Homing");
    EXPECT_EQ(e.event_time, 7);
    EXPECT_EQ(e.source_point, world.soundEvents[0].position);
    EXPECT_EQ(scripts.queued[1].origin_id, second);
    EXPECT_EQ(scripts.queued[1].extra_extra_tag, "Nuke");
}

TEST_F(TorpedoTest, an_empty_tube_fires_homing_and_a_kept_tube_stays_loaded)
{
    // A tube that names no type fires the default; the stock may go below 0,
    // as callers check it first.
    Load(1, "loaded", "");
    const uint64_t homing = world.LaunchTorpedo(*ship, 1, false);
    EXPECT_EQ(ReadString(Admitted(homing)->data_set, kTorpedoTypeValue), "Homing");

    // A fighter fires from tube 0 and keeps it; its torpedo leaves level.
    const uint64_t kept = world.LaunchTorpedo(*ship, 0, true);
    SpaceObject* torpedo = Admitted(kept);
    EXPECT_NEAR(glm::dot(torpedo->rot_quat, ship->rot_quat), 1.0f, 1e-6f);
    EXPECT_EQ(Text(kTorpedoTubeState), "loaded");
    EXPECT_EQ(Text(kTorpedoTubeCurrentType), "Homing");
    EXPECT_EQ(ReadInt(ship->data_set, DataKey{"Homing_NUM", ""}), 3);
}

TEST_F(TorpedoTest, a_mine_leaves_astern_keeping_its_dip)
{
    ServerStringMap::Instance().Set("Mine", "mine; lifespan:900");
    Load(0, "loaded", "Mine");
    SpaceObject* mine = Admitted(world.LaunchTorpedo(*ship, 0, false));
    const glm::quat expected = ship->rot_quat * glm::angleAxis(-0.1f, glm::vec3(1, 0, 0)) *
                               glm::angleAxis(glm::pi<float>(), glm::vec3(0, 1, 0));
    EXPECT_NEAR(std::abs(glm::dot(mine->rot_quat, expected)), 1.0f, 1e-6f);
    EXPECT_LT(glm::dot(mine->ForwardVector(), ship->ForwardVector()), -0.99f);
}

TEST_F(TorpedoTest, tubes_the_ship_does_not_have_fire_nothing)
{
    struct Case {
        int32_t tube;
        bool keepTube;
    };
    const Case refused[] = {{-1, false}, {3, false}, {3, true}, {-1, true}};
    for (const Case& c : refused) {
        EXPECT_EQ(world.LaunchTorpedo(*ship, c.tube, c.keepTube), 0u) << c.tube << " " << c.keepTube;
        EXPECT_FALSE(Simulation::IsLaunchTube(*ship, c.tube, c.keepTube));
    }
    EXPECT_TRUE(world.pendingNewObjects.empty());
    EXPECT_TRUE(scripts.queued.empty());
    EXPECT_EQ(ReadInt(ship->data_set, DataKey{"Homing_NUM", ""}), 5);
    EXPECT_EQ(ship->data_set.NumElements("torpedoTubeState"), 3) << "no tube was made up";

    // A ship without tubes still fires its tube 0 when it keeps it (a fighter).
    DeclareInt(ship->data_set, kTorpedoTubeCount, 0);
    EXPECT_FALSE(Simulation::IsLaunchTube(*ship, 0, false));
    EXPECT_NE(world.LaunchTorpedo(*ship, 0, true), 0u);
}

TEST_F(TorpedoTest, a_target_that_is_no_object_id_is_not_handed_on)
{
    WriteUInt64(ship->data_set, kWeaponTargetUid, kClientIdBit | 501);
    SpaceObject* torpedo = Admitted(world.LaunchTorpedo(*ship, 0, false));
    EXPECT_EQ(ReadUInt64(torpedo->data_set, kWeaponTargetUid), 0u);
}

}  // namespace
