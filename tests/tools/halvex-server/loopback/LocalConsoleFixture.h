#pragma once
// halvex-server hosting a test's mission, and the game's own client in this
// process as its console, with this machine's console screen and a mirror of
// the world: what a console shows of a mission, read where the console keeps
// it.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/ui/TextLog.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "tests/tools/halvex-server/HarnessConsole.h"
#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace harnesstest {

class LocalConsoleFixture : public ::testing::Test {
protected:
    explicit LocalConsoleFixture(const std::string& mission) : folder(mission) {}

    void SetUp() override
    {
        AppData::Load();
        RegisterBehaviourHooks();
        theMessageLog.Clear();
        gNetworkFactory = &factory;
        harness = std::make_unique<HarnessProcess>(std::vector<std::string>{
            "--data", folder.data.Path().string(), "--mission", "trial", "--port", "0", "--seconds", "120"});
        const std::optional<uint16_t> port = harness->WaitForPort();
        ASSERT_TRUE(port) << harness->Errors();

        client = MakeHarnessConsole(*port);
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        client->SetConsoleScreen(&screen);
    }

    void TearDown() override
    {
        RouteConsoleCommands(nullptr);
        client.reset();
        theMessageLog.Clear();
        if (harness) {
            harness->Signal(SIGTERM);
            EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
        }
        gNetworkFactory = nullptr;
    }

    // The client's share of a console's frames until the condition holds;
    // false when it never did.
    bool RunFrames(const std::function<bool()>& done)
    {
        return HarnessProcess::RunFramesUntil(
            [this] {
                client->FrameUpdate();
                client->Tick();
            },
            done);
    }

    MissionFolder folder;
    QelEnetNetworkFactoryBase factory;
    Simulation world;  // the console's mirror
    ConsoleState console;
    LocalConsoleScreen screen{console};  // this machine's screen
    std::unique_ptr<HarnessProcess> harness;
    std::unique_ptr<CorvaneClient> client;
};

}  // namespace harnesstest
