// What the render manager plays through a recording sound service: the
// world's sounds by their distance from the ship, the engines under a main
// screen, the jump hum and the interface's clicks.

#include "game/render/manager/RenderManager.h"
#include "game/ui/GUISound.h"

#include "game/ui/UIContext.h"
#include "game/world/DataKey.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/AppData.h"
#include "game/world/RandomInt.h"
#include "game/world/Simulation.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/RecordingSound.h"

#include <gtest/gtest.h>

namespace {

using qeltest::RecordingEffect;

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class RenderManagerSoundsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gSoundFactory = &sound;
        gGraphicsFactory = &graphics;
        AppData::Load();
        AppData::SetSfxVolume(0.8f);
        AppData::SetGuiVolume(0.5f);
        world.Reset(true, "");  // the server's own screen shows its ship
        ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = ship->uniqueID;
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->Setup();
    }
    void TearDown() override
    {
        manager.reset();
        AppData::SetSfxVolume(1.0f);
        AppData::SetGuiVolume(1.0f);
        theUIContext = UIContext();
        gSoundFactory = nullptr;
        gGraphicsFactory = nullptr;
    }

    // The sounds played since the last look, by the name they are kept under.
    std::vector<std::pair<std::string, RecordingEffect::PlayCall>> TakePlays()
    {
        std::vector<std::pair<std::string, RecordingEffect::PlayCall>> plays;
        for (auto& [name, effect] : sound.effects) {
            for (const RecordingEffect::PlayCall& call : effect->plays)
                plays.emplace_back(name, call);
            effect->plays.clear();
        }
        return plays;
    }

    qeltest::RecordingSound sound;
    qeltest::QuietGraphics graphics;
    Simulation world;
    SpaceObject* ship = nullptr;
    std::unique_ptr<RenderManager> manager;
};

TEST_F(RenderManagerSoundsTest, world_sounds_fade_with_distance_and_vary_by_the_view_generator)
{
    // The draws the shield hit will take, from the manager's own seed.
    int32_t seed = manager->random_seed;
    const float r1 = RandomFloat(seed, 0, 1), r2 = RandomFloat(seed, 0, 1), r3 = RandomFloat(seed, 0, 1);
    const int variant = static_cast<int>(r1 * 5.99999f) + 1;

    world.QueueSoundEvent("SD", glm::vec3(1000, 0, 0), 0);
    manager->SimTick();
    auto plays = TakePlays();
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].first, "shield_damage_" + std::to_string(variant));
    EXPECT_EQ(sound.Effect(plays[0].first)->file, AppData::GetString(plays[0].first));
    EXPECT_FLOAT_EQ(plays[0].second.volume, (0.95f + r2 * 0.1f) * 0.8f * 0.5f);
    EXPECT_FLOAT_EQ(plays[0].second.frequencyRatio, 0.98f + r3 * 0.04f);
    EXPECT_FALSE(plays[0].second.loop);
    EXPECT_EQ(manager->random_seed, seed);

    struct Case {
        const char* name;
        float distance;
        float volume;  // of sfxVolume 0.8
    };
    for (const Case c : {Case{"SD", 2000, 0}, Case{"SD", 5000, 0}, Case{"tractor_beam", 500, 0.75f * 0.8f},
                         Case{"tractor_beam", 0, 0.8f}}) {
        world.QueueSoundEvent(c.name, glm::vec3(0, 0, c.distance), 0);
        manager->SimTick();
        plays = TakePlays();
        ASSERT_EQ(plays.size(), 1u) << c.name << " at " << c.distance;
        EXPECT_FLOAT_EQ(plays[0].second.volume, c.volume) << c.name << " at " << c.distance;
    }
    EXPECT_TRUE(world.soundEvents.empty());
}

TEST_F(RenderManagerSoundsTest, sounds_without_a_ship_a_file_or_a_working_service_are_only_dropped)
{
    world.QueueSoundEvent("no_such_sound", glm::vec3(0), 0);
    manager->SimTick();
    EXPECT_TRUE(TakePlays().empty());

    world.subjectID = 0;
    world.QueueSoundEvent("PB", glm::vec3(0), 0);
    manager->SimTick();
    EXPECT_TRUE(TakePlays().empty());
    EXPECT_TRUE(world.soundEvents.empty());

    world.subjectID = ship->uniqueID;
    sound.working = false;
    world.QueueSoundEvent("PB", glm::vec3(0), 0);
    manager->SimTick();
    EXPECT_TRUE(TakePlays().empty());
    EXPECT_TRUE(world.soundEvents.empty());
}

TEST_F(RenderManagerSoundsTest, the_engines_loop_under_a_ship_follow_its_throttle_and_stop_without_it)
{
    ship->data_set.SetFloat(std::string(playership::kPlayerThrottle.name), 2.5f, 0, "a");
    manager->FrameUpdate();
    RecordingEffect* base = sound.Effect("player_engine_1");
    RecordingEffect* tone = sound.Effect("player_engine_2");
    ASSERT_NE(base, nullptr);
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(base->file, AppData::GetString("player_engine_loop_base"));
    ASSERT_EQ(base->plays.size(), 1u);
    EXPECT_TRUE(base->plays[0].loop);
    EXPECT_EQ(base->plays[0].volume, 0.8f);
    EXPECT_FLOAT_EQ(tone->frequencyRatio, 1.5f);

    manager->FrameUpdate();  // made once, then only retuned
    EXPECT_EQ(base->plays.size(), 1u);

    world.subjectID = 0;
    manager->FrameUpdate();
    EXPECT_FALSE(base->playing);
    EXPECT_FALSE(tone->playing);
    world.subjectID = ship->uniqueID;
    manager->FrameUpdate();
    EXPECT_EQ(base->plays.size(), 2u);
    EXPECT_TRUE(base->playing);
}

TEST_F(RenderManagerSoundsTest, the_jump_hum_starts_quiet_and_low_and_rises_toward_its_pitch)
{
    QelSound* hum = manager->PlayJumpSound(0);  // never started: only the values reset
    ASSERT_NE(hum, nullptr);
    RecordingEffect* effect = sound.Effect(AppData::GetString("jump_sfx_start"));
    ASSERT_EQ(effect, hum);
    EXPECT_TRUE(effect->plays.empty());
    EXPECT_EQ(manager->jumpSoundFrequency, 0.001f);

    manager->PlayJumpSound(5);
    ASSERT_EQ(effect->plays.size(), 1u);
    EXPECT_EQ(effect->plays[0].volume, 0.0f);
    EXPECT_EQ(effect->plays[0].frequencyRatio, 0.01f);
    EXPECT_TRUE(effect->plays[0].loop);
    EXPECT_EQ(manager->jumpSoundTargetFrequency, 2.0f);

    manager->SimTick();
    EXPECT_FLOAT_EQ(effect->volume, 0.01f);
    EXPECT_FLOAT_EQ(effect->frequencyRatio, 0.051f);
    for (int tick = 0; tick < 100; ++tick)
        manager->SimTick();
    EXPECT_FLOAT_EQ(effect->volume, 0.8f);  // never past the sound-effect volume
    EXPECT_FLOAT_EQ(effect->frequencyRatio, 2.0f);

    manager->PlayJumpSound(2);  // playing already: only the pitch it rises to
    EXPECT_EQ(effect->plays.size(), 1u);
    EXPECT_EQ(manager->jumpSoundTargetFrequency, 5.0f);
    manager->PlayJumpSound(-1);
    EXPECT_FALSE(effect->playing);
    EXPECT_EQ(manager->jumpSoundVolume, 0.0f);
}

TEST_F(RenderManagerSoundsTest, interface_clicks_vary_slightly_and_keep_quiet_when_they_should)
{
    PlayGUISound("gui_button");
    RecordingEffect* click = sound.Effect("gui/button");
    ASSERT_NE(click, nullptr);
    ASSERT_EQ(click->plays.size(), 1u);
    EXPECT_GE(click->plays[0].volume, 0.5f * 0.95f);
    EXPECT_LE(click->plays[0].volume, 0.5f * 1.05f);
    EXPECT_GE(click->plays[0].frequencyRatio, 0.995f);
    EXPECT_LE(click->plays[0].frequencyRatio, 1.005f);

    PlayGUISound("not_an_interface_sound");
    AppData::SetGuiVolume(0.005f);
    PlayGUISound("gui_button");
    AppData::SetGuiVolume(0.5f);
    sound.working = false;
    PlayGUISound("gui_button");
    EXPECT_EQ(click->plays.size(), 1u);
    EXPECT_EQ(sound.effects.size(), 1u);
}

}  // namespace
