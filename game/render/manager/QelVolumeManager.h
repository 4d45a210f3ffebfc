#pragma once
// Nebulae drawn as ray-marched volumes: each nebula is a box around its
// position drawn with the "NebulaVolume" shader, whose constants give the
// cloud's colours, density and noise. The 3D view queues the visible nebulae
// every frame and draws them into the nebula render target, smaller than the
// screen by the nebula divisor; the draw empties the queue.
//
// A nebula's look comes from its object's values or, for one a mission left
// alone, from a seed: the same seed gives the same cloud on every machine.
//
// Main thread only.

#include "game/render/manager/BodyParameters.h"
#include "game/render/manager/UnitCube.h"
#include "game/ui/IntRect.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <vector>

class Qel2dBitmap;
class QelDrawProcess;

// Where a seeded nebula's values are drawn from; the defaults are the 3D
// view's.
struct NebulaVolumeRanges {
    struct Colours {
        glm::vec3 min, max;
    };
    struct Values {
        float min, max;
    };
    Colours absorption{{0, 0, 0}, {1, 1, 1}};
    Colours emissive{{0, 0, 0}, {1, 1, 1}};
    Colours mieScattering{{0.2f, 0.2f, 0.2f}, {0.8f, 0.8f, 0.8f}};
    Values anisotropy{-0.2f, 0.2f};
    Values radius{7000.0f, 10000.0f};
    Values density{8.0f, 12.0f};
    Values baseFrequency{0.7f, 1.5f};
    Values baseAmplitude{1.0f, 4.0f};
    Values detailFrequency{0.5f, 1.5f};
    Values detailAmplitude{0.75f, 2.5f};
    Values detailLacunarity{0.75f, 1.55f};
    Values domainWarp{0.0f, 0.02f};
    Values swirl{0.0f, 4.0f};
};
static_assert(sizeof(NebulaVolumeRanges) == 38 * 4, "a range record is 38 floats");

class QelVolumeManager {
public:
    static constexpr const char* kShaderName = "NebulaVolume";
    static constexpr const char* kVertexListName = "test-volume-vertex";
    static constexpr const char* kIndexListName = "test-volume-index";
    // Steps marched along each ray: fixed, the nebula target's pixel budget
    // was set for it.
    static constexpr int32_t kSampleCount = 64;
    // The box around a nebula reaches this share of its radius out.
    static constexpr float kBoxScale = 0.55f;
    // A cloud reaching nearer the eye than this, in view depth, may reach
    // behind it: its bounds are the whole view.
    static constexpr float kNearestDepth = 1e-3f;

    virtual ~QelVolumeManager() = default;

    // Ready to draw: additive blending, the octaves of noise and the ranges
    // seeded nebulae take, the box, an empty queue.
    void Setup(int32_t octaves, const NebulaVolumeRanges& ranges);
    // A nebula's look from the seed alone; it restarts the game's second
    // random source from the seed (crand), as the look must be the same on
    // every machine.
    NebulaVolumeParams RandomizeParameters(int32_t seed) const;
    // Queues one volume for the next draw.
    void AddVolume(const glm::vec3& position, const NebulaVolumeParams& parameters);
    // Draws the queued volumes over the scene (colour and depth of texture)
    // and empties the queue. cameraPos is the camera's eye as the camera
    // keeps it (minus its world position, w 1), cameraDir its direction.
    void Draw(const glm::mat4& view, const glm::vec4& cameraPos, const glm::vec4& cameraDir, Qel2dBitmap* texture,
              int32_t downsampleRatio);
    // Empties the queue without drawing.
    void Clear();
    // The part of a view width x height pixels large (top row first) that
    // the queued volumes' clouds can cover, seen through the view and the
    // (left-handed) projection; the whole view when a cloud reaches round
    // the eye, nothing for one wholly behind it.
    IntRect ScreenBounds(const glm::mat4& view, const glm::mat4& projection, int32_t width, int32_t height) const;

    int32_t Count() const { return count; }

    bool additive = false;  // volumes add their light in queue order; else the farthest is drawn first

private:
    struct Distance {
        float squared;
        int32_t index;
    };

    void BuildLists();
    void SortFarToNear(const glm::vec3& camera);
    void SetConstants(const NebulaVolumeParams& volume, const glm::vec4& cameraPos, const glm::vec4& cameraDir,
                      int32_t downsampleRatio);

    QelDrawProcess* shader = nullptr;
    UnitCubeLists cube;
    std::vector<glm::vec3> positions;
    std::vector<glm::mat4> worlds;
    std::vector<NebulaVolumeParams> params;
    std::vector<Distance> order;
    NebulaVolumeRanges ranges;
    int32_t count = 0;
    int32_t sampleCount = 0;
    int32_t octaveCount = 0;
};
