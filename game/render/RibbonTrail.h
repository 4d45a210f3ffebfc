#pragma once
// A trail of points left behind by a missile or drone, or the two ends of a
// docking beam: a shift register of 50 points, the newest first, that the
// ribbon manager turns into a camera-facing strip. Ages and lifespans count
// the trail's own steps (the effect update ages a trail every third tick).

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <array>
#include <cstdint>

struct RibbonPoint {
    glm::vec3 position{0.0f};
    glm::vec3 side{0.0f};  // written by the ribbon manager
    glm::vec4 colour{0.0f};
    float age = 0.0f;
    float lifespan = 0.0f;
    float width = 0.0f;
};

struct RibbonTrail {
    static constexpr int32_t kCapacity = 50;
    // The strip uses one point fewer than the register holds.
    static constexpr int32_t kMaxCount = kCapacity - 1;

    // Every point moves one place back (the last falls off) and the new one
    // is first.
    void Add(const RibbonPoint& point)
    {
        std::copy_backward(points.begin(), points.end() - 1, points.end());
        points[0] = point;
        count = std::min(count + 1, kMaxCount);
    }

    // Every point one step older; whether any of them is still alive.
    bool Age()
    {
        bool alive = false;
        for (RibbonPoint& point : points) {
            point.age += 1.0f;
            alive = alive || point.lifespan > point.age;
        }
        return alive;
    }

    std::array<RibbonPoint, kCapacity> points{};
    int32_t count = 0;
};
