#pragma once
// A client on a recording network, through which the console's commands
// leave, reporting to the screen a test gives it, for tests of the console's signal handlers that reach this
// machine's screen. The client and the network factory it took are given up
// when it goes.

#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "tests/support/RecordingNetwork.h"

#include <memory>

namespace qeltest {

class ScreenClient {
public:
    explicit ScreenClient(ConsoleScreen& screen)
    {
        gNetworkFactory = &network;
        client = std::make_unique<CorvaneClient>(CorvaneClient::Settings{});
        RouteConsoleCommands(client.get());
        client->SetConsoleScreen(&screen);
    }
    ~ScreenClient()
    {
        client.reset();
        gNetworkFactory = nullptr;
    }
    ScreenClient(const ScreenClient&) = delete;
    ScreenClient& operator=(const ScreenClient&) = delete;

    CorvaneClient& Client() { return *client; }

private:
    RecordingNetwork network;
    std::unique_ptr<CorvaneClient> client;
};

}  // namespace qeltest
