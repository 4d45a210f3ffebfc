#pragma once
// One object of the world: ship, station, missile, drone, monster, asteroid,
// nebula or anything else a mission makes. A plain record of motion and
// identity; everything else lives in its keyed value store, and what it does
// is chosen by its behaviour name, which selects a behaviour hook. The server's
// authoritative objects and a client's copies (made with the server's ids) are
// the same type.

#include "game/world/ObjectDataBlob.h"
#include "game/world/SuperContainerObject.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Simulation;

class SpaceObject : public SuperContainerObject {
public:
    // Attribute bits the program owns (bits 0 to 3); missions use the rest.
    static constexpr uint16_t kStaticBit = 1;      // spins but never moves
    static constexpr uint16_t kFastMoverBit = 2;   // torpedoes, drones

    // Id 0 takes the next id. Both names are stored in lower case. The
    // behaviour hook is not called here: creators call it with the
    // "assigned" message once the object is set up.
    SpaceObject(uint64_t id, const std::string& behaviourName, const std::string& dataTag, uint16_t abits,
                float exclusionRadius, float interactionRadius, float fatRadius);

    // Gives the object another behaviour and tells the new hook so, in the
    // world the object lives in. The name is stored as given; the current
    // name again does nothing.
    void SetBehavior(Simulation& world, const std::string& name);

    glm::vec3 ForwardVector() const;  // rot_quat applied to (0, 0, 1)
    glm::vec3 RightVector() const;    // rot_quat applied to (1, 0, 0)
    glm::vec3 UpVector() const;       // rot_quat applied to (0, 1, 0)

    // Notes the name of a key a behaviour added to the data set, once.
    void AddString(const std::string& keyName);

    bool IsStatic() const { return (abits & kStaticBit) != 0; }

    std::string tick_type;       // behaviour name ("behav_npcship")
    std::string data_tag;        // key of the ship record, lower case
    uint64_t tick_type_ID = 0;   // name hash of tick_type; keys the hook map

    // Objects this one touched in the bounce step; the same id is never
    // appended twice in a row.
    std::vector<uint64_t> contactList;
    // Ticks left of each contact a player ship is in, by the other object's
    // id, in id order; a contact ends when its count runs out. Only the
    // player-ship behaviour keeps it.
    std::map<uint64_t, int32_t> contactCountdowns;

    glm::quat rot_quat{1.0f, 0.0f, 0.0f, 0.0f};  // orientation; identity at start
    float turn_yaw = 0.0f;    // one-tick turns, radians; the move step adds and clears them
    float turn_pitch = 0.0f;
    float turn_roll = 0.0f;
    bool local_steering_flag = false;  // turn about the object's own axes only
    float steer_yaw = 0.0f;   // continuing turns per tick, radians; never cleared
    float steer_pitch = 0.0f;
    float steer_roll = 0.0f;
    float cur_speed = 0.0f;           // distance per tick along the forward axis
    float exclusion_radius = 0.0f;    // nothing comes closer; above 0.1 it bounces
    float fat_radius = 0.0f;          // half-size of the fat box on X and Z
    float interaction_radius = 0.0f;  // the ship record's "interactionradius"
    int32_t blink_state = 0;  // > 0 pulse delay, < 0 blink delay, 0 normal, -1 glow off

    // Client: the last state the server sent; the move step steers toward it.
    glm::vec3 targetPos{0.0f};
    glm::quat targetOrientation{1.0f, 0.0f, 0.0f, 0.0f};

    // Tick of the last change to the object's motion state: the server's move
    // step and repositioning stamp it, a client's update handler stamps it on
    // receipt; the update passes read it.
    int64_t lastUpdateTick = 0;

    ObjectDataBlob data_set;
    std::string side;                   // same side = friends; empty = none
    std::vector<std::string> keyNames;  // keys behaviours added, no duplicates
};
