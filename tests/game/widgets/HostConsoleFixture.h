#pragma once
// A widget on the server's own screen, on recording services: the scripted
// input and recording 2D service of UITest, a world this process hosts with
// the screen's ship in it, and the process's server hosting on a free loopback port.
// What the widget sends reaches the server's queue through the host's
// loopback; TakeSent reads it back without handling it, Deliver hands it to
// the server's handlers as a console's command. Hot keys start from their
// defaults in a folder of the test's own; controller settings too.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/ui/ConsoleSettings.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/SetJoystick.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <optional>
#include <vector>

// One "signal" the host's console sent: its code and its bytes after the key.
struct SentSignal {
    uint16_t code = 0;
    std::vector<uint8_t> bytes;  // from the code on

    template <typename Signal>
    Signal As() const
    {
        QelNetworkMessage message;
        message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        uint16_t readCode = 0;
        Signal signal;
        EXPECT_TRUE(ReadSignalCode(message, readCode) && readCode == Signal::kCode) << readCode;
        EXPECT_TRUE(ReadSignal(message, signal));
        return signal;
    }
};

class HostConsoleTest : public UITest {
protected:
    // Every queued message is handed on within this many dispatches.
    static constexpr int kDispatchRounds = 4;

    void SetUp() override
    {
        UITest::SetUp();
        graphics.AddBitmap("iconset64", 192, 128);  // the attitude display's 3 x 2 cells of 64
        dataFolder.emplace("QEL_DATA_DIR", folder.Path().string());
        KeyVal::Unload();
        gNetworkFactory = &network;
        server = std::make_unique<CorvaneServer>(CorvaneServer::Settings{});
        gServer = server.get();
        server->SetWorld(&world);
        server->StartHosting();  // on a free port
        ASSERT_FALSE(server->IsNetworkDown());
        world.Reset(true, "");
        ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = ship->uniqueID;
        world.clock.time_tick_counter = 100;
        console.settings.helmMode = 0;
    }

    void TearDown() override
    {
        server.reset();
        gServer = nullptr;
        gNetworkFactory = nullptr;
        KeyVal::Unload();
        dataFolder.reset();
        UITest::TearDown();
    }

    // What reached the server's queue since the last look, in order.
    std::vector<SentSignal> TakeSent()
    {
        std::vector<SentSignal> sent;
        for (int round = 0; round < kDispatchRounds; ++round) {
            server->Queues().Dispatch([&](uint64_t key, QelNetworkMessage& message) {
                EXPECT_EQ(key, HashMessageName("signal"));
                EXPECT_EQ(message.sender, kHostClientId);
                SentSignal signal;
                signal.bytes.assign(message.Data() + message.readIndex, message.Data() + message.writeIndex);
                ReadSignalCode(message, signal.code);
                sent.push_back(std::move(signal));
                return true;
            });
        }
        return sent;
    }

    // The server handles what the host's console sent, as it does each frame.
    void Deliver()
    {
        for (int round = 0; round < kDispatchRounds; ++round)
            server->DispatchMessages();
    }

    void AdvanceTicks(int64_t ticks) { world.clock.time_tick_counter += ticks; }

    // Registers the widget's hot keys (a key's first query only registers it).
    template <class Draw>
    void Warm(Draw&& draw)
    {
        Frame(draw);
        TakeSent();
    }

    qeltest::TempFolder folder;
    std::optional<qeltest::ScopedEnv> dataFolder;
    QelEnetNetworkFactoryBase network;
    std::unique_ptr<CorvaneServer> server;
    Simulation world;
    SpaceObject* ship = nullptr;
    ConsoleState console;  // the screen's console, fresh for each test
};

// The same, with a game controller plugged in whose axes and buttons the test
// maps and moves.
class HostConsoleStickTest : public HostConsoleTest {
protected:
    void SetUp() override
    {
        HostConsoleTest::SetUp();
        theControllerInput.records.clear();
        input.joysticks = {&stick};
    }

    void TearDown() override
    {
        theControllerInput.records.clear();
        input.joysticks.clear();
        HostConsoleTest::TearDown();
    }

    // The device axis drives the game axis, unscaled, with no dead zone.
    void MapAxis(int32_t axis, const char* gameAxis)
    {
        ControllerInputRecord* record = theControllerInput.GetRecord(stick.name);
        ASSERT_NE(record, nullptr);
        record->axisAssignments[axis] = gameAxis;
        record->axisSigns[axis] = -1;
        record->axisDeadZones[axis] = 0.0f;
        record->mapsBuilt = false;
    }

    void MapButton(int32_t button, const char* action)
    {
        ControllerInputRecord* record = theControllerInput.GetRecord(stick.name);
        ASSERT_NE(record, nullptr);
        record->buttonActions[button] = action;
        record->mapsBuilt = false;
    }

    qeltest::SetJoystick stick{"Helm Stick"};
};
