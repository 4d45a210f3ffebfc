#pragma once
// The records the world keeps beside its objects: blasts, effect events,
// sound events, timed entries, forced updates, comms messages, the consoles'
// filter tags and tractor connections. Plain data; the world creates, ages
// and drops them.

#include <cstdint>
#include <map>
#include <string>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

// A sphere that grows over its life and deals what it accumulated when it ends.
struct BlastRecord {
    std::string kind;     // "nuke" and "emp" do something; other kinds nothing
    std::string name;
    uint64_t sourceId = 0;  // object that set it off, 0 = none
    uint64_t parentId = 0;  // owner of the source, 0 = none
    int32_t damage = 0;     // per tick inside the sphere ("nuke"); shield cut in percent ("emp")
    int32_t radius = 0;     // at the end of its life
    glm::vec3 centre{0.0f};
    int64_t startTick = 0;
    int64_t endTick = 0;
    std::map<uint64_t, float> hits;  // object id -> accumulated amount, dealt in id order
};

// A beam, lightning or explosion for the renderer and the network to show.
struct EffectEventRecord {
    std::string kind;
    std::string secondText;
    std::string thirdText;
    int32_t value = 0;
    uint64_t firstId = 0;
    uint64_t secondId = 0;
    glm::vec3 firstPoint{0.0f};
    glm::vec3 secondPoint{0.0f};
    int64_t startTick = 0;
    int64_t expiryTick = 0;  // dropped by the first tick at or past it
};

struct SoundEvent {
    std::string name;
    glm::vec3 position{0.0f};
    int64_t tick = 0;  // when it was queued
};

// Something with a lifetime in ticks that the renderer reads; the world only
// ages it out.
struct TimedEntry {
    int64_t startTick = 0;
    int64_t duration = 0;  // ticks
};

// An object whose whole record the server is to send again.
struct ForcedUpdate {
    uint64_t spaceObjectId = 0;
    uint64_t clientId = 0;  // 0 = every client
};

// A message the comms console shows: from a mission, on the server's own
// screen, or received by a console.
struct CommsMessageRecord {
    uint64_t sourceId = 0;  // the ship it comes from; 0 = none
    std::string title;
    std::string body;
    std::string face;       // portrait description
    glm::vec4 titleColour{1.0f};
    glm::vec4 bodyColour{1.0f};
    int64_t arrivalTick = 0;  // time_tick_counter when it came
    // The comms console's own: the width the body was laid out at and the
    // height it took (0 = not measured yet), and the crew's mark on it.
    int32_t layoutWidth = 0;
    int32_t measuredHeight = 0;
    int32_t starState = 0;  // 0 none, 1 filled star, 2 hollow star
};

// One entry of the consoles' sorted-list filters.
struct FilterTag {
    std::string tag;
    std::string display;
    bool selected = false;        // chosen on the console
    bool fromSecondTags = false;  // listed from an object's second tag
};

// One type of grid object the consoles may show or hide (the grid-object
// filter): types join as the consoles first meet them, enabled.
struct GridTypeFilter {
    std::string type;
    bool enabled = true;
};

// Holds a target object at a point that moves with a source object: towing,
// docking, formation flying. The world's tick pulls the target.
struct TractorConnection {
    uint64_t source_id = 0;  // the object that tows
    uint64_t target_id = 0;  // the object that is towed
    glm::vec3 offset{0.0f};  // the attachment point in the source's own frame
    float pullDistance = 0.0f;  // most the target moves per tick; 0 or less locks it to the point
};
