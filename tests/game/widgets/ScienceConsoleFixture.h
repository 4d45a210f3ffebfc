#pragma once
// The science console's widgets headless: the interface on recording
// services, a console world with the player's ship and whatever the test
// adds, and a client whose sent messages are kept. Hot keys and preferences
// live in a data folder of the test's own.

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ScienceConsoleState.h"
#include "game/widgets/SortedObjectList.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/RecordingNetwork.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>

class ScienceConsoleTest : public UITest {
protected:
    void SetUp() override
    {
        KeyVal::Unload();
        UITest::SetUp();
        client = std::make_unique<CorvaneClient>(CorvaneClient::Settings{});
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        console.network.client = client.get();
        world.Reset(false, "");
        ship = Make("behav_playership", "", {0, 0, 0});
        ship->side = "fleet";
        world.subjectID = ship->uniqueID;
        console.consoleName = "sci";
        console.currentWidgetName = "science_data";
    }

    void TearDown() override
    {
        client.reset();
        KeyVal::Unload();
        UITest::TearDown();
    }

    // An object of the behaviour at the point, as the console's mirror holds it.
    SpaceObject* Make(const std::string& behaviour, const std::string& dataTag, const glm::vec3& at)
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject("", dataTag, 0));
        object->tick_type = behaviour;
        world.RepositionSpaceObject(object, at.x, at.y, at.z);
        return object;
    }

    // The ship's side has done the kind of scan on the object, leaving the text.
    void Scanned(SpaceObject& object, const std::string& scanType, const std::string& text = "scanned")
    {
        object.data_set.SetStringByIndexString(scanType, text, ship->side, "a");
    }

    void Select(const SpaceObject& object) { WriteUInt64(ship->data_set, shipkeys::kScienceTargetUid, object.uniqueID); }

    // Press on the point in one frame, release in the next.
    template <class Draw>
    void ClickAt(float x, float y, Draw&& draw)
    {
        input.MoveTo(static_cast<int32_t>(x), static_cast<int32_t>(y));
        input.Press();
        Frame(draw);
        input.Release();
        Frame(draw);
        input.MoveTo(-100, -100);
    }

    // Clicks the control whose label the last frame drew.
    template <class Draw>
    void Click(const std::string& label, Draw&& draw)
    {
        const qeltest::DrawRecord record = graphics.Text(label);
        ASSERT_EQ(record.text, label) << "no control labelled " << label;
        ClickAt((record.box.left + record.box.right) / 2.0f, (record.box.top + record.box.bottom) / 2.0f, draw);
    }

    // A frame that learns the hot keys, then one with the key down.
    template <class Draw>
    void PressKey(int32_t key, Draw&& draw)
    {
        Frame(draw);
        input.KeyDown(key);
        Frame(draw);
        input.KeyUp(key);
    }

    bool Drawn(const std::string& text) const { return graphics.Text(text).text == text; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::RecordingNetwork network;
    qeltest::ScopedGlobal<QelNetworkFactoryBase> publishedNetwork{gNetworkFactory, network};
    std::unique_ptr<CorvaneClient> client;
    // The game's preferences and ship list, in place before the world reads them.
    struct LinkedData {
        explicit LinkedData(const qeltest::TempFolder& folder)
        {
            for (const char* file : {"preferences.yaml", "shipData.yaml"})
                std::filesystem::create_symlink(qeltest::GameDataFolder() / file,
                                                folder.Path() / file);
        }
    } linkedData{data};
    Simulation world;
    SpaceObject* ship = nullptr;
    ConsoleState console;  // the science console's, fresh for each test
};
