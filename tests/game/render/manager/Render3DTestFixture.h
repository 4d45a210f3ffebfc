#pragma once
// The 3D view headless, on the recording graphics service (see
// Render3DEffectsFixture.h), with the crew's ship in the world.

#include "tests/game/render/manager/Render3DEffectsFixture.h"

class Render3DTestFixture : public qeltest::Render3DEffectsFixture {
protected:
    void SetUp() override
    {
        Render3DEffectsFixture::SetUp();
        ship = Make("behav_playership", "tern_frigate", {100, 0, 50});
        world->subjectID = ship->uniqueID;
    }

    SpaceObject* ship = nullptr;
};
