// Starting a mission from the server's scenes, with the fixture missions in
// a data folder of their own: what the consoles and the mission are told,
// and what a mission that cannot start leaves behind.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/net/QelNetworkServer.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/script/MissionScript.h"
#include "game/shell/MissionStart.h"
#include "game/ui/TextLog.h"
#include "game/world/Simulation.h"
#include "tests/game/shell/MissionFolder.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/QuietGraphics.h"

#include <gtest/gtest.h>


namespace {

// The server as the scenes reach it, keeping the code and packet flags of
// every "signal" sent to all consoles.
struct SendRecordingServer : CorvaneServer {
    using CorvaneServer::CorvaneServer;
    void SendToAll(QelNetworkMessage& message, uint32_t packetFlags) override
    {
        uint64_t key = 0;
        uint16_t code = 0;
        message.readIndex = 0;
        message.ReadInt64(key);
        ReadSignalCode(message, code);
        sentToAll.emplace_back(code, packetFlags);
    }
    std::vector<std::pair<uint16_t, uint32_t>> sentToAll;
};

class MissionStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gServer = &server;
        server.SetWorld(&world);
        server.SetScriptHost(&host);
        gGraphicsFactory = &graphics;
        theMissionScript.SetWorld(&world);
    }
    void TearDown() override
    {
        theMissionScript.Stop();
        theMissionScript.nextMission.clear();
        theMissionScript.SetWorld(nullptr);
        gGraphicsFactory = nullptr;
        server.SetScriptHost(nullptr);
        gServer = nullptr;
    }

    MissionFolder missions;
    Simulation world;
    SendRecordingServer server{CorvaneServer::Settings{}};
    qeltest::RecordingScriptHost host;
    qeltest::QuietGraphics graphics;
    std::string startError;  // why the last start failed
};

TEST_F(MissionStartTest, a_start_asks_every_console_reliably_and_tells_the_mission_the_server_window)
{
    RetainedGUIManager& serverGui = theMissionScript.Screen().RetainedGUI();
    serverGui.SetBuilding(false, "");
    ASSERT_TRUE(StartMission("echo", startError));
    EXPECT_TRUE(theMissionScript.ScriptsLoaded());
    EXPECT_TRUE(startError.empty());
    EXPECT_TRUE(serverGui.Root().building) << "the last mission's screens are cleared";
    ASSERT_EQ(server.sentToAll.size(), 1u);
    EXPECT_EQ(server.sentToAll[0], std::make_pair(uint16_t{SIGNAL_MESS_SCREEN_SIZE_QUERY}, QelNetworkServer::kReliable));
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "screen_size");
    EXPECT_EQ(host.events[0].client_id, 0u);
    EXPECT_EQ(host.events[0].source_point, glm::vec3(1024.0f, 768.0f, 0.0f));
}

TEST_F(MissionStartTest, a_mission_that_cannot_start_is_named_in_the_log_and_leaves_none_running)
{
    ASSERT_TRUE(StartMission("echo", startError));
    const size_t logLines = theConsoleLog.Count();
    server.sentToAll.clear();
    host.events.clear();

    EXPECT_FALSE(StartMission("broken_import", startError));
    EXPECT_FALSE(theMissionScript.ScriptsLoaded());
    EXPECT_NE(startError.find("Mission \"broken_import\" could not start"), std::string::npos)
        << startError;
    ASSERT_GT(theConsoleLog.Count(), logLines);
    EXPECT_EQ(theConsoleLog.Line(theConsoleLog.Count() - 1).text, startError);
    EXPECT_TRUE(server.sentToAll.empty());
    EXPECT_TRUE(host.events.empty());

    ASSERT_TRUE(StartMission("echo", startError));
    EXPECT_TRUE(startError.empty());
}

TEST_F(MissionStartTest, the_next_mission_is_taken_once)
{
    EXPECT_EQ(StartNextMission(startError), NextMission::None);
    theMissionScript.nextMission = "echo";
    EXPECT_EQ(StartNextMission(startError), NextMission::Started);
    EXPECT_TRUE(theMissionScript.nextMission.empty());
    theMissionScript.nextMission = "no_such_mission";
    EXPECT_EQ(StartNextMission(startError), NextMission::Failed);
    EXPECT_TRUE(theMissionScript.nextMission.empty());
    EXPECT_EQ(StartNextMission(startError), NextMission::None);
}

}  // namespace
