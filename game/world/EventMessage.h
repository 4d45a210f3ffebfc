#pragma once
// One script event: what happened, to whom and by whom. Every subsystem that
// raises events fills the fields it names and leaves the rest as a new record
// has them (ids 0, empty texts, numbers 0); the mission script receives a copy.
// Field names are the ones mission scripts read.

#include <cstdint>
#include <string>

#include <glm/vec3.hpp>

struct EventMessage {
    uint64_t client_id = 0;    // console the event concerns, 0 = none
    uint64_t origin_id = 0;    // object that caused it, 0 = none
    uint64_t selected_id = 0;  // object it happened to, 0 = none
    uint64_t parent_id = 0;    // owner of the origin (the ship behind a missile), 0 = none
    std::string tag;           // the event's name, such as "damage"
    std::string sub_tag;
    std::string value_tag;
    std::string extra_tag;
    std::string extra_extra_tag;
    int64_t event_time = 0;    // world tick at which it was raised
    float sub_float = 0.0f;
    glm::vec3 source_point{0.0f, 0.0f, 0.0f};
};
