#pragma once
// Gas giant planets. Each planet is a box of half-size 1 scaled by its
// radius and placed in the world, which the "GasGiant" shader turns into a
// banded, clouded, stormy sphere from the planet's constants. A frame queues
// its planets and draws them all at once, farthest first, so a nearer
// planet's rim lies over a farther one; the draw empties the queue.
//
// Main thread only.

#include "game/render/manager/BodyParameters.h"
#include "game/render/manager/UnitCube.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <vector>

class QelDrawProcess;

class QelGasGiant {
public:
    static constexpr const char* kShaderName = "GasGiant";
    static constexpr const char* kVertexListName = "gas-giant-vertex";
    static constexpr const char* kIndexListName = "gas-giant-index";
    // What a simulation tick adds to the clock the planets' weather drifts by.
    static constexpr float kTimeStep = 0.02f;

    // Builds the box the planets are drawn on.
    QelGasGiant();
    virtual ~QelGasGiant() = default;

    // Queues one planet for the next draw, unturned: the shader's bands
    // circle the world's up axis.
    void AddInstance(const glm::vec3& position, const PlanetParams& params);
    // Draws the queued planets from the camera (its world position, w 1;
    // its direction, w 0), farthest first, and empties the queue.
    void Draw(const glm::mat4& view, const glm::vec4& cameraPos, const glm::vec4& cameraDir);

    int32_t Count() const { return count; }

    // The weather's clock, advanced by the owner once a tick by kTimeStep.
    float timeValue = 0.0f;
    // The queue numbers of the last draw, in the order drawn.
    const std::vector<int32_t>& DrawOrder() const { return order; }

private:
    // One queued planet's distance from the camera, squared.
    struct Distance {
        float squared;
        int32_t instance;
    };

    void SortFarToNear(const glm::vec3& camera);
    void SetConstants(const PlanetParams& planet, const glm::vec4& cameraPos, const glm::vec4& cameraDir);

    QelDrawProcess* shader = nullptr;
    UnitCubeLists cube;
    std::vector<PlanetParams> params;
    std::vector<glm::mat4> worlds;
    std::vector<glm::vec3> positions;
    std::vector<int32_t> order;  // far to near after sorting
    int32_t count = 0;
    std::vector<Distance> distances;
};
