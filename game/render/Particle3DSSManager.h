#pragma once
// Short-lived particles from one sprite sheet: a ring of 10000 records that
// the effect code writes into (a new particle takes the next slot, whatever
// it held), aged once per simulation tick and drawn as camera-facing quads,
// each showing the sheet's cell the particle names. A particle waits its
// delay, then moves by its velocity each tick (falling by the gravity) and
// fades over its lifetime: additive particles dim on all four channels,
// the others keep their colour and lose alpha. One that comes within ten
// sizes of the camera goes at once, so it never fills the view.
//
// Main thread only.

#include "game/render/ParticleBillboards.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct SpriteSheetParticle {
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};  // model units per tick
    int32_t delay = 0;         // ticks before it starts
    int32_t age = -1;          // ticks; -1: the slot is free
    int32_t lifetime = 0;      // ticks
    float size = 0.0f;
    int32_t cell = 0;  // of the sprite sheet
    glm::vec4 baseColour{0.0f};
    glm::vec4 colour{0.0f};  // the faded colour that is drawn
};

class Particle3DSSManager {
public:
    static constexpr int32_t kCapacity = 10000;
    // A particle nearer the camera than this many of its sizes is dropped.
    static constexpr float kCameraClearance = 10.0f;

    Particle3DSSManager();

    // The texture and how particles move and fade; every slot free.
    void Setup(const std::string& textureName, float velocityStretch, float gravity, bool additive);

    // The next slot of the ring, taken whatever it held: the caller fills it
    // (colour 0 and age 0 unless it wants otherwise).
    SpriteSheetParticle& Spawn();
    // A new particle in the next slot: age 0, its colour faded in from 0 by
    // the updates once its delay has passed.
    SpriteSheetParticle& Add(const glm::vec3& position, const glm::vec3& velocity, const glm::vec4& colour, float size,
                             int32_t lifetime, int32_t cell, int32_t delay = 0);
    // Every slot free.
    void Clear();

    // One tick, with the camera's world position.
    void Update(const glm::vec3& cameraPos);
    // The live particles that have started, in slot order.
    void Draw(const glm::mat4& view);

    const std::vector<SpriteSheetParticle>& Particles() const { return particles; }
    int32_t NextSlot() const { return nextSlot; }
    int32_t DrawnCount() const { return drawnCount; }
    bool Additive() const { return additive; }

private:
    void UpdateOne(SpriteSheetParticle& particle, const glm::vec3& cameraPos) const;

    float velocityStretch = 0.0f;
    float gravity = 0.0f;
    std::string textureName;
    std::vector<SpriteSheetParticle> particles;
    int32_t nextSlot = 0;
    int32_t drawnCount = 0;
    bool additive = false;
    ParticleBillboards billboards;
};
