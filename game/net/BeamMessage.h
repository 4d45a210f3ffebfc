#pragma once
// "beam": one visible effect (a beam shot, lightning, a blast, a death)
// announced by the server to every console, which records it in its own world
// so that all screens draw the same effect. The message is named "beam"
// whatever the effect's kind.
//
// "transient": a message consoles accept and discard; nothing sends it.

#include "engine/base/QelNetworkMessage.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>

// The effect-event record as it travels, after the key.
struct BeamMessage {
    std::string kind;        // "beam", "lightning", "nuke", "emp", "npc_death", ...
    std::string secondText;  // for a beam shot: the firing ship's name
    std::string thirdText;   // for a beam shot: its side
    uint64_t firstId = 0;    // 0 or a space object
    uint64_t secondId = 0;   // 0 or a space object
    glm::vec3 firstPoint{0.0f};
    glm::vec3 secondPoint{0.0f};
    int32_t value = 0;
};

// Appends the fields after the key.
void WriteBeamMessage(QelNetworkMessage& message, const BeamMessage& beam);
// Reads the fields after the key; false when the message ends too soon or an
// id is neither 0 nor a space object.
bool ReadBeamMessage(QelNetworkMessage& message, BeamMessage& beam);
// Reads and discards a "transient" body; false when it ends too soon.
bool SkipTransientMessage(QelNetworkMessage& message);
