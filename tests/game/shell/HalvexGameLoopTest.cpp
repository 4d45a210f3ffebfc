// The game's start-up and end as the window program and the harness share
// them: the singletons exist after start-up, the frame steps run with or
// without a hosted game, and deletion leaves no singleton behind.

#include "engine/base/QelFrameLoop.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/shell/HalvexGameLoop.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/Simulation.h"

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
        return options;
    }

    QelEnetNetworkFactoryBase factory;
};

TEST_F(HalvexGameLoopTest, start_up_makes_the_singletons_and_their_deletion_clears_every_one)
{
    HalvexGameLoop game(QuietOptions());
    game.Startup();
    EXPECT_NE(gClient, nullptr);
    EXPECT_NE(gServer, nullptr);
    EXPECT_NE(theSimulation, nullptr);
    EXPECT_TRUE(AIHookMap().IsRegistered("behav_playership"));

    game.DeleteSingletons();
    EXPECT_EQ(gClient, nullptr);
    EXPECT_EQ(gServer, nullptr);
    EXPECT_EQ(theSimulation, nullptr);
    game.DeleteSingletons();  // the run loop may call it again after an error
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

}  // namespace
