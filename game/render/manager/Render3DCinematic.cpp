// The automatic cinematic camera's choice: it looks at the featured ship
// and rides on the most exciting object near it, or, with nothing exciting
// about, beside the ship on a random side, further ahead the faster it goes.

#include "game/render/manager/Render3D.h"

#include "game/net/NetworkIds.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>

namespace {

// Objects within this half side of a square about the featured ship count.
constexpr float kChoiceReach = 2000.0f;

// Riding on a chosen object: a point up to 200 to its side, 100 up or down,
// 200 behind it on the line from the ship.
constexpr float kDollySide = 400.0f;
constexpr float kDollyHeight = 200.0f;
constexpr float kDollyBack = -200.0f;
// Beside the ship: 100 out, tilted up or down by up to 2 in 5, and 50
// ticks of its speed ahead.
constexpr float kBesideDistance = 100.0f;
constexpr float kBesideTilt = 4.0f;
constexpr float kBesideLead = 50.0f;

float Random01()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

SpaceObject* FindObject(uint64_t id)
{
    return IsSpaceObjectId(id) ? theSimulation->GetSpaceObject(id) : nullptr;
}

// Asteroids and whirlpools are never the show.
bool MayBeChosen(const SpaceObject& object)
{
    return object.tick_type != "behav_asteroid" && object.data_tag != "maelstrom" && object.data_tag != "blackhole";
}

// The most exciting object about the subject; of equal ones the last found,
// and none that is less than 0.
SpaceObject* MostExciting(const SpaceObject& subject)
{
    SuperContainer* world = theSimulation->Container();
    if (!world)
        return nullptr;
    world->Query(PlaneBox::Around(subject.pos.x, subject.pos.z, kChoiceReach));
    SpaceObject* chosen = nullptr;
    float best = 0.0f;
    for (SuperContainerObject* found : world->QueryResults()) {
        SpaceObject& object = static_cast<SpaceObject&>(*found);
        if (&object == &subject || !MayBeChosen(object))
            continue;
        const float excitement = ReadFloat(object.data_set, shipkeys::kExciting);
        if (excitement >= best) {
            best = excitement;
            chosen = &object;
        }
    }
    return chosen;
}

}  // namespace

void Render3D::UpdateCinematicTarget()
{
    if (!theSimulation)
        return;
    cinematic_chosen_tick = theSimulation->TickCount();
    SpaceObject* subject = FindObject(cinematic_request);
    if (!subject)
        subject = FindObject(theSimulation->subjectID);
    if (!subject)
        return;
    targetID = subject->uniqueID;
    targetPos = glm::vec3(0.0f);

    if (const SpaceObject* chosen = MostExciting(*subject)) {
        dollyID = chosen->uniqueID;
        const glm::vec3 apart = chosen->pos - subject->pos;
        const float length = glm::length(apart);
        // An object on the subject's own place gives no line: ride straight behind it.
        const float heading = length > 0.0f ? std::atan2(apart.x / length, apart.z / length) : 0.0f;
        const float y = Random01() * kDollyHeight - kDollyHeight / 2;
        const float x = Random01() * kDollySide - kDollySide / 2;
        dollyPos = glm::vec3(glm::rotate(glm::mat4(1.0f), heading, glm::vec3(0, 1, 0)) *
                             glm::vec4(x, y, kDollyBack, 1.0f));
        return;
    }
    dollyID = 0;
    const glm::vec3 forward = subject->rot_quat * glm::vec3(0, 0, 1);
    const float tilt = Random01() * kBesideTilt - kBesideTilt / 2;
    glm::vec3 side = subject->rot_quat * glm::normalize(glm::vec3(5.0f, tilt, 0.0f));
    if (Random01() * 100.0f > 50.0f)
        side = -side;
    dollyPos = subject->pos + kBesideDistance * side + kBesideLead * subject->cur_speed * forward;
}
