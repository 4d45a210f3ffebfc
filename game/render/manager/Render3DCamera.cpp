// Where the 3D view looks from: the chase camera behind the ship (turned to
// look forward, left, back or right), the tracking camera that keeps an
// object in view, the first-person camera, the fixed chase of free steering,
// the cockpit of fighters and shuttles, and the cinematic camera.

#include "game/render/manager/Render3D.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/KeyVal.h"
#include "game/world/DataKey.h"
#include "game/net/NetworkIds.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>

namespace {

// The chase camera sits 60 above and 160 behind the ship, in its frame; the
// first-person eye at a hundredth of that.
constexpr glm::vec4 kChaseOffset{0.0f, 60.0f, -160.0f, 1.0f};
constexpr float kFirstPersonScale = 0.01f;
// The point looked at in the fixed chase and the cockpit, ahead of the ship.
constexpr glm::vec4 kLookAhead{0.0f, 0.0f, 10.0f, 1.0f};
// The server's debugging key that deletes the science selection is not
// bound by default: a stray key on the host's keyboard must never delete an
// object in a crew's game. Whoever tests a mission binds it in the hot-key file.
constexpr int32_t kKillSelectionKey = 0;
// The automatic cinematic camera picks its subject again after this many ticks (5 s).
constexpr int64_t kCinematicChoiceTicks = 150;

constexpr DataKey kScienceTarget{"science_target_UID", kPlayDoc};
constexpr DataKey kFighterFlag{"is_fighter_flag", kPlayDoc};
constexpr DataKey kShuttleFlag{"is_shuttle_flag", kPlayDoc};
constexpr DataKey kSteeringType{"steeringType", kPlayDoc};
constexpr DataKey kCameraTarget{"camera_target_UID", kPlayDoc};

// Quarter turns of the chase camera about the ship's up axis.
int QuarterTurns(const std::string& angle)
{
    if (angle == "left")
        return 3;
    if (angle == "back")
        return 2;
    if (angle == "right")
        return 1;
    return 0;
}

}  // namespace

glm::vec3 Render3D::ViewDirection() const
{
    const glm::vec3 direction = camera.eye - camera.target;
    const float length = glm::length(direction);
    return length > 0.0f ? direction / length : glm::vec3(0.0f, 0.0f, 1.0f);
}

void Render3D::UpdateCamera(SpaceObject* ship)
{
    if (gGraphicsFactory)
        gGraphicsFactory->SetPerspective(kFieldOfView,
                                         static_cast<float>(owner.mainBuffWidth) /
                                             static_cast<float>(std::max(owner.mainBuffHeight, 1)),
                                         kNearPlane, kFarPlane);
    if (!ship || !theSimulation)
        return;
    const int64_t now = theSimulation->TickCount();
    if (cinematic_chosen_tick > now)
        cinematic_chosen_tick = now;
    if ((cinematic_chosen_tick < 1 || cinematic_chosen_tick + kCinematicChoiceTicks < now) && scriptControlsCamera == 0)
        UpdateCinematicTarget();
    if (theSimulation->serverFlag)
        PollServerHotKey(*ship);
    PlaceChaseCamera(*ship);
    if (owner.cam_mode == "cinematic")
        PlaceCinematicCamera();
}

// A debugging aid of the server's own screen: the key deletes the science
// selection.
void Render3D::PollServerHotKey(const SpaceObject& ship)
{
    const uint64_t selection = ReadUInt64(ship.data_set, kScienceTarget);
    if (!FindSpaceObject(selection))
        return;
    if (!isHotKeyPressed("debug_server", "kill_sci_selection", kKillSelectionKey,
                         "hotkey works on 3d view, only on server.  If sci selection is valid, the selected object "
                         "is deleted."))
        return;
    if (PendingDestroySink* destroys = theSimulation->PendingDestroys())
        destroys->QueueDestroy(selection);
}

void Render3D::PlaceChaseCamera(const SpaceObject& ship)
{
    const bool fighter = ReadInt(ship.data_set, kFighterFlag) != 0;
    const bool shuttle = ReadInt(ship.data_set, kShuttleFlag) != 0;
    const glm::mat4 orientation = glm::mat4_cast(ship.rot_quat);
    camera.target = -ship.pos;

    glm::mat4 direction;
    const SpaceObject* tracked = FindSpaceObject(ReadUInt64(ship.data_set, kCameraTarget));
    const glm::vec3 toTracked = tracked ? tracked->pos - ship.pos : glm::vec3(0.0f);
    // An object on the ship's own place gives no direction: the chase stays.
    if (tracked && tracked != &ship && owner.cam_mode == "tracking" && glm::length(toTracked) > 0.0f) {
        camera.target = -tracked->pos;
        const glm::vec3 unit = glm::normalize(toTracked);
        direction = glm::rotate(glm::mat4(1.0f), std::atan2(unit.x, unit.z), glm::vec3(0, 1, 0));
    } else {
        direction = glm::rotate(orientation, static_cast<float>(QuarterTurns(owner.cam_angle)) * kQuarterTurn,
                                glm::vec3(0, 1, 0));
    }
    const glm::vec3 forward(orientation * kLookAhead);
    glm::vec3 offset(direction * kChaseOffset);
    if (owner.cam_mode == "first_person")
        offset *= kFirstPersonScale;
    camera.eye = -ship.pos - offset;
    camera.matrix = camera.LookAt(camera.eye, camera.target);

    const glm::mat4 toShip = glm::inverse(orientation) * glm::translate(glm::mat4(1.0f), -ship.pos);
    if (fighter || shuttle) {
        // The cockpit: the eye at the ship's centre, along its axes.
        owner.cam_mode = "first_person";
        camera.matrix = toShip;
    } else if (ReadString(ship.data_set, kSteeringType) == "Free") {
        // Riding 60 above and 160 behind, rolling with the ship.
        camera.matrix = glm::translate(glm::mat4(1.0f), -glm::vec3(kChaseOffset)) * toShip;
    } else {
        return;
    }
    camera.eye = -ship.pos;
    camera.target = -ship.pos - forward;
}

// The eye on its dolly object (or at a world point), turned with it toward
// the point looked at; ids of objects that have gone are dropped, which lets
// the automatic choice pick again.
void Render3D::PlaceCinematicCamera()
{
    if (targetID == 0) {
        camera.target = -targetPos;
    } else if (const SpaceObject* target = FindSpaceObject(targetID)) {
        camera.target = -(target->pos + targetPos);
    } else {
        targetID = 0;
        cinematic_chosen_tick = 0;
    }
    if (dollyID == 0) {
        camera.eye = glm::vec3(1.0f, 0.0f, 0.0f) - dollyPos;
    } else if (const SpaceObject* dolly = FindSpaceObject(dollyID)) {
        camera.eye = -dolly->pos;
        if (camera.eye != camera.target)
            camera.eye += glm::vec3(RotationBetween(dolly->pos, -camera.target) * glm::vec4(dollyPos, 1.0f));
        else
            camera.eye += dollyPos;
    } else {
        dollyID = 0;
        cinematic_chosen_tick = 0;
    }
    camera.matrix = camera.LookAt(camera.eye, camera.target);
}
