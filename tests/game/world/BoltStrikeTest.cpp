// A bolt's strike as the world sees it: the shield facing the shooter, and
// the hull's sound that a beam or lightning event raises as it begins.

#include "game/world/BoltStrike.h"

#include "SimulationTestSupport.h"
#include "game/world/ShipKeys.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using simtest::WorldTest;

class BoltStrikeTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        source = Make(-100, 0);
        target = Make(100, 0);
    }
    // One facing of the value out of 100.
    void SetShield(float value, bool raised)
    {
        WriteInt(target->data_set, shipkeys::kShieldCount, 1);
        WriteFloat(target->data_set, shipkeys::kShieldVal, value, 0);
        WriteFloat(target->data_set, shipkeys::kShieldMaxVal, 100.0f, 0);
        WriteInt(target->data_set, shipkeys::kShieldsRaisedFlag, raised ? 1 : 0);
    }
    size_t HullSounds() const
    {
        return static_cast<size_t>(std::count_if(world.soundEvents.begin(), world.soundEvents.end(),
                                                 [](const SoundEvent& e) { return e.name == "hull_damage"; }));
    }

    SpaceObject* source = nullptr;
    SpaceObject* target = nullptr;
};

TEST_F(BoltStrikeTest, a_bolt_past_the_shields_sounds_the_hull_as_its_event_begins)
{
    struct Case {
        const char* what;
        const char* kind;
        int32_t shields;  // facings; 0: none
        float value;
        bool raised;
        bool sounds;
    };
    const Case cases[] = {
        {"beam at a ship without shields", "beam", 0, 0.0f, false, true},
        {"lightning at a ship without shields", "lightning", 0, 0.0f, false, true},
        {"beam at a raised shield", "beam", 1, 50.0f, true, false},
        {"beam at a lowered shield", "beam", 1, 50.0f, false, true},
        {"beam at a raised shield worn to 0", "beam", 1, 0.0f, true, true},
        {"an effect that is no bolt", "npc_death", 0, 0.0f, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world.soundEvents.clear();
        world.clock.time_tick_counter += 1000;  // past the sound's gap
        if (c.shields > 0)
            SetShield(c.value, c.raised);
        else
            WriteInt(target->data_set, shipkeys::kShieldCount, 0);
        world.AddEffectEvent(c.kind, "", "", source->uniqueID, target->uniqueID, {}, {}, 0);
        ASSERT_EQ(HullSounds(), c.sounds ? 1u : 0u);
        if (c.sounds)
            EXPECT_EQ(world.soundEvents.back().position, target->pos);
    }
}

TEST_F(BoltStrikeTest, the_hull_sounds_once_in_300_ticks_and_not_for_unknown_ends)
{
    world.clock.time_tick_counter = 1000;
    world.AddEffectEvent("beam", "", "", source->uniqueID, target->uniqueID, {}, {}, 0);
    world.clock.time_tick_counter += 299;
    world.AddEffectEvent("beam", "", "", source->uniqueID, target->uniqueID, {}, {}, 1);
    EXPECT_EQ(HullSounds(), 1u);
    world.clock.time_tick_counter += 1;
    world.AddEffectEvent("lightning", "", "", source->uniqueID, target->uniqueID, {}, {}, 0);
    EXPECT_EQ(HullSounds(), 2u);

    // A console may hear of a bolt whose ends it does not know yet.
    world.clock.time_tick_counter += 1000;
    world.AddEffectEvent("beam", "", "", 0, target->uniqueID, {}, {}, 0);
    world.AddEffectEvent("beam", "", "", source->uniqueID, target->uniqueID + 1000, {}, {}, 0);
    world.AddEffectEvent("beam", "", "", source->uniqueID, 12345, {}, {}, 0);  // no space object's id
    EXPECT_EQ(HullSounds(), 2u);
}

TEST_F(BoltStrikeTest, a_shield_facing_the_shooter_holds_at_its_share_of_full_strength)
{
    SetShield(25.0f, true);
    const FacingShield quarter = ShieldFacingShooter(world, *source, *target);
    EXPECT_TRUE(quarter.raised);
    EXPECT_FLOAT_EQ(quarter.strength, 0.25f);
    WriteFloat(target->data_set, shipkeys::kShieldMaxVal, 0.0f, 0);
    EXPECT_FLOAT_EQ(ShieldFacingShooter(world, *source, *target).strength, 1.0f) << "no full strength: full";
    SetShield(25.0f, false);
    EXPECT_FALSE(ShieldFacingShooter(world, *source, *target).raised);
}

}  // namespace
