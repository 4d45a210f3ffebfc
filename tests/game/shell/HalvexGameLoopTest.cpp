// The game's start-up and end as the window program and the harness share
// them: the singletons exist after start-up, the frame steps run with or
// without a hosted game, music and lights follow the ticks, and deletion
// leaves no singleton behind.

#include "engine/base/QelFrameLoop.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/shell/GameMusic.h"
#include "game/shell/HalvexDMX.h"
#include "game/shell/HalvexGameLoop.h"
#include "engine/base/QelQuietGraphics.h"
#include "game/ui/SceneHost.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class HalvexGameLoopTest : public ::testing::Test {
protected:
    HalvexGameLoopTest() { gNetworkFactory = &factory; }
    ~HalvexGameLoopTest() override { gNetworkFactory = nullptr; }

    static HalvexGameLoop::Options QuietOptions()
    {
        HalvexGameLoop::Options options;
        options.serverPort = 0;
        options.lanDiscovery = false;
        options.dmxOutput = false;
        return options;
    }

    QelEnetNetworkFactoryBase factory;
};

TEST_F(HalvexGameLoopTest, start_up_makes_the_singletons_and_their_deletion_clears_every_one)
{
    HalvexGameLoop game(QuietOptions());
    game.Startup();
    EXPECT_NE(theMissionScript.LocalClient(), nullptr);
    EXPECT_NE(gServer, nullptr);
    EXPECT_NE(theSimulation, nullptr);
    EXPECT_TRUE(AIHookMap().IsRegistered("behav_playership"));
    EXPECT_EQ(gMusicControl, game.Music());
    EXPECT_EQ(gDmxLighting, game.Dmx());

    game.DeleteSingletons();
    EXPECT_EQ(theMissionScript.LocalClient(), nullptr);
    EXPECT_EQ(gServer, nullptr);
    EXPECT_EQ(theSimulation, nullptr);
    EXPECT_EQ(gMusicControl, nullptr);
    EXPECT_EQ(gDmxLighting, nullptr);
    game.DeleteSingletons();  // the run loop may call it again after an error
}

// Notes what the game loop asks of it, and which singletons stood then.
class RecordingSceneHost : public SceneHost {
public:
    RecordingSceneHost(std::vector<std::string>& calls, const GameNetwork& network) : calls_(calls)
    {
        calls_.push_back(std::string("made") + (network.client && network.server ? " after the server" : "") +
                         (theSimulation ? " after the world" : ""));
    }
    ~RecordingSceneHost() override { calls_.push_back(theSimulation ? "deleted before the world" : "deleted"); }
    void Setup() override { calls_.push_back(theSimulation ? "set up with the world" : "set up"); }
    void FrameUpdate() override { calls_.push_back("frame"); }
    void SimTick() override { calls_.push_back("tick"); }
    void Draw() override { calls_.push_back("draw"); }

private:
    std::vector<std::string>& calls_;
};

TEST_F(HalvexGameLoopTest, the_scene_host_is_made_third_set_up_with_the_world_stepped_and_deleted_first)
{
    std::vector<std::string> calls;
    HalvexGameLoop::Options options = QuietOptions();
    options.makeSceneHost = [&calls](const GameNetwork& network) {
        return std::make_unique<RecordingSceneHost>(calls, network);
    };
    HalvexGameLoop game(options);
    game.Startup();
    game.SceneFrameUpdate();
    game.SceneTick();
    game.Draw();
    game.DeleteSingletons();
    EXPECT_EQ(calls, (std::vector<std::string>{"made after the server", "set up with the world", "frame", "tick",
                                               "draw", "deleted before the world"}));
}

TEST_F(HalvexGameLoopTest, with_graphics_interiors_lie_over_the_silhouettes_the_render_side_makes_from_meshes)
{
    qeltest::TempFolder data;
    qeltest::LinkGeneratedData(data);
    const qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    // Whether the frigate gets an interior in a game started with this graphics service.
    const auto frigateHasInterior = [&](QelGraphicsFactoryBase* graphics) {
        gGraphicsFactory = graphics;
        HalvexGameLoop game(QuietOptions());
        game.Startup();
        theSimulation->Reset(true, "");
        const uint64_t frigate = theSimulation->CreateSpaceObject("behav_playership", "tern_frigate", 0);
        theSimulation->FrameUpdate();
        const bool built = GetHullPathSet(frigate, false) != nullptr;
        game.DeleteSingletons();
        gGraphicsFactory = nullptr;
        return built;
    };
    QelQuietGraphics graphics;
    EXPECT_TRUE(frigateHasInterior(&graphics));
    EXPECT_FALSE(frigateHasInterior(nullptr)) << "a host without graphics brings its own silhouettes";
}

TEST_F(HalvexGameLoopTest, frames_and_ticks_run_before_hosting_and_while_hosting)
{
    HalvexGameLoop game(QuietOptions());
    game.Startup();
    auto frameAndTick = [&] {
        game.SceneFrameUpdate();
        game.SimulationFrameUpdate();
        game.ServerFrameUpdate();
        game.ClientFrameUpdate();
        game.SimulationTick(QelFrameLoop::kTickMilliseconds);
        game.SceneTick();
        game.ServerTick();
        game.ClientTick();
        game.Draw();
    };
    EXPECT_NO_THROW(frameAndTick());
    gServer->StartHosting();
    EXPECT_NE(gServer->Port(), 0);
    theSimulation->Reset(true, "");
    theSimulation->paused = false;
    EXPECT_NO_THROW(frameAndTick());
    EXPECT_EQ(theSimulation->TickCount(), 1);
    game.DeleteSingletons();
}

TEST_F(HalvexGameLoopTest, start_up_plays_the_start_cue_and_each_tick_moves_the_music_and_the_lights)
{
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> published(gSoundFactory, sound);
    HalvexGameLoop game(QuietOptions());
    game.Startup();
    EXPECT_EQ(sound.TakeLog(), (std::vector<std::string>{"Play music/standard/start 0 current",
                                                         "SetVolume music/standard/start 1",
                                                         "SetOption music/standard/start 0"}));

    game.Music()->RaiseMusicTension(50);
    ASSERT_EQ(game.Dmx()->SetChannel({4, DMX_BEHAV_ON, 0, 0, 99}), nullptr);
    game.SceneTick();
    EXPECT_FLOAT_EQ(game.Music()->Tension(), 49.8f);
    EXPECT_EQ(game.Dmx()->Frame()[4], 99);

    // The server machine's own song ends: its mission hears it at once.
    qeltest::RecordingScriptHost host;
    gServer->SetScriptHost(&host);
    theSimulation->Reset(true, "");
    sound.Song("music/standard/start")->playing = false;
    game.SceneTick();
    EXPECT_EQ(host.Tags(), std::vector<std::string>{"song_ended"});
    gServer->SetScriptHost(nullptr);

    game.DeleteSingletons();
}

}  // namespace
