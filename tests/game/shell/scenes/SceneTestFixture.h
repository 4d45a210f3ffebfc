#pragma once
// The scenes on recording services: the interface's recording 2D service and
// scripted input (UITest), a world, and the client and server of a process
// on real ENet endpoints that stay quiet until a scene connects or hosts,
// and a fresh state of the shell's scenes. A scene is driven as the render
// manager drives it, one step at a time, and a click is the press and the
// release over two drawn frames.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/render/manager/SceneFunction.h"
#include "game/shell/scenes/ShellState.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"

#include <memory>

class SceneTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        gNetworkFactory = &network;
        client = std::make_unique<CorvaneClient>(CorvaneClient::Settings{});
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        server = std::make_unique<CorvaneServer>(CorvaneServer::Settings{});
        gServer = server.get();
        server->SetWorld(&world);
        theMissionScript.SetWorld(&world);
    }

    void TearDown() override
    {
        theMissionScript.Stop();
        theMissionScript.missionToStart.clear();
        theMissionScript.nextMission.clear();
        theMissionScript.SetWorld(nullptr);
        server.reset();
        client.reset();
        gNetworkFactory = nullptr;
        UITest::TearDown();
    }

    // Hosts on a free port and gives the process a client of that port.
    void HostWithClient()
    {
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
        // The endpoint is kept by name: the one of port 0 goes first.
        client.reset();
        network.DestroyClient(CorvaneClient::Settings{}.endpointName);
        CorvaneClient::Settings settings;
        settings.port = server->Port();
        client = std::make_unique<CorvaneClient>(settings);
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
    }

    // One drawn frame of the scene; its answer.
    SceneFunction Draw(SceneFunction scene)
    {
        SceneFunction next;
        Frame([&] { next = scene(SCENE_DRAW, shell, sceneHost); });
        return next;
    }

    // Presses on the point in one frame and releases in the next: the answer
    // of the frame of the release.
    SceneFunction ClickAt(SceneFunction scene, int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        input.Press();
        Draw(scene);
        input.Release();
        return Draw(scene);
    }

    // The text of the frame's drawing that equals the label, or null.
    const qeltest::DrawRecord* TextDrawn(const std::string& label) const
    {
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text == label)
                return &record;
        return nullptr;
    }

    // The centre of the text box in which the label was drawn: a point on its control.
    std::pair<int32_t, int32_t> CentreOf(const std::string& label) const
    {
        const qeltest::DrawRecord* record = TextDrawn(label);
        EXPECT_NE(record, nullptr) << label;
        if (record == nullptr)
            return {-100, -100};
        return {(record->box.left + record->box.right) / 2, (record->box.top + record->box.bottom) / 2};
    }

    // Handed to the scenes as the render manager that runs them; a test that
    // makes one sets it.
    RenderManager* sceneHost = nullptr;
    QelEnetNetworkFactoryBase network;
    Simulation world;
    std::unique_ptr<CorvaneClient> client;
    std::unique_ptr<CorvaneServer> server;
    ShellState shell;
};
