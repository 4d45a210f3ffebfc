#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/world/AppData.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// The game's own preferences file names every setting the network reads.
TEST(NetworkSettings, client_and_server_take_their_settings_from_the_preferences)
{
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", qeltest::GameDataFolder().string());
    AppData::Unload();
    AppData::Load();
    const CorvaneServer::Settings server = CorvaneServer::Settings::FromPreferences();
    EXPECT_EQ(server.port, AppData::GetInt("serverNetworkPort"));
    EXPECT_EQ(server.dispatchLimit, AppData::GetInt("server-network-mess-per-frame"));
    EXPECT_EQ(server.scriptTickDelay, AppData::GetInt("scriptTickDelay"));
    EXPECT_EQ(server.visionBaseDistance, AppData::GetFloat("player-vision-base-distance"));
    EXPECT_EQ(server.serverName, AppData::GetString("server-network-name"));
    EXPECT_TRUE(server.lanDiscovery);

    const CorvaneClient::Settings client = CorvaneClient::Settings::FromPreferences();
    EXPECT_EQ(client.endpointName, "client");
    EXPECT_EQ(client.port, server.port);
    EXPECT_EQ(client.dispatchLimit, AppData::GetInt("client-network-mess-per-frame"));
    EXPECT_EQ(client.contactDecayDelay, AppData::GetInt("clientContactDecayDelay"));
    EXPECT_EQ(client.stringMapFile.filename(), "client_string_set.txt");
    EXPECT_TRUE(client.lanDiscovery);
    AppData::Unload();
}

}  // namespace
