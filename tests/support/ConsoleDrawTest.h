#pragma once
// The console drawn by the real graphics service on the offscreen driver:
// the game's ship records, preferences and interface settings, a console
// state, a render manager drawing for it and an empty world. A test links the generated art it needs into
// `data` before calling SetUp, then places objects and draws console frames.

#include "game/widgets/ConsoleState.h"
#include "game/widgets/GUIBoxManager.h"
#include "tests/support/GameDrawTest.h"

#include <glm/gtc/quaternion.hpp>

#include <memory>
#include <string>
#include <vector>

namespace qeltest {

class ConsoleDrawTest : public GameDrawTest {
protected:
    ConsoleDrawTest(int width, int height) : GameDrawTest(width, height) {}

    // A smaller main target than the game's keeps the software renderer quick.
    void SetUp() override
    {
        GameDrawTest::SetUp();
        theUIContext.LoadSettings();
        manager = std::make_unique<RenderManager>(StayingScene, &console);
        manager->mainBuffWidth = 1280;
        manager->mainBuffHeight = 720;
        manager->Setup();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
    }
    // An object of the behaviour and ship record at the point, turned by the
    // heading (radians about the up axis).
    SpaceObject* Place(const char* behaviour, const char* shipKey, const glm::vec3& at, float heading)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject(behaviour, shipKey, 0));
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        object->rot_quat = glm::angleAxis(heading, glm::vec3(0, 1, 0));
        return object;
    }

    // One frame of the console screen: its backdrop, then its boxes; the
    // screen is read back.
    void ConsoleFrame(const std::string& screenName, const std::vector<std::string>& widgets)
    {
        context.Clear();
        theUIContext.BeginFrame();
        theUIContext.FillRect(0, 0, screenWidth, screenHeight, glm::vec4(0.03f, 0.05f, 0.08f, 1));
        GUIBoxManager::DrawConsoleBoxes(console, screenName, widgets);
        theUIContext.EndFrame();
        graphics.Flush2D();
        ReadScreen();
    }

    ConsoleState console;  // the console drawn, fresh for each test
};

}  // namespace qeltest
