#pragma once
// The 56-byte record of one space object's motion: the body of
// "spaceobjectupdate" and part of "fullobject". Fixed size, so a pass knows
// how many fit a message before it writes them.

#include "engine/base/QelNetworkMessage.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

class SpaceObject;

// The kind of pass that wrote a record; receivers ignore it.
enum SpaceObjectRecordMarker : int32_t {
    kRecordMarkerNearby = 101,      // slow and fast passes, friend eyes
    kRecordMarkerOwnShip = 205,
    kRecordMarkerScienceRange = 207,
    kRecordMarkerFullObject = 307,
    kRecordMarkerGameMaster = 323,
};

struct SpaceObjectRecord {
    // id, speed, 3 position floats, 4 orientation floats, 3 turns, marker.
    static constexpr int32_t kSize = 8 + 4 + 12 + 16 + 12 + 4;

    uint64_t id = 0;  // a space-object id
    float speed = 0.0f;
    glm::vec3 pos{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};  // travels as x, y, z, w
    float turnPitch = 0.0f;
    float turnRoll = 0.0f;
    float turnYaw = 0.0f;
    int32_t marker = 0;

    // Every float a number: a position that is not one would poison every
    // distance test of the world that takes it in.
    bool IsFinite() const;
};

// Appends the object's record; the message must have kSize bytes left.
void WriteSpaceObjectRecord(const SpaceObject& object, int32_t marker, QelNetworkMessage& message);
// Reads the record after its id (the caller read the id to know a record
// follows); false when the message ends first or a value is not finite.
bool ReadSpaceObjectRecordBody(QelNetworkMessage& message, SpaceObjectRecord& record);
