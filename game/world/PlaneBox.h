#pragma once
// An axis-aligned box on the world's X/Z plane. The registry's tree holds these;
// height (Y) is ignored and callers test it themselves.

#include <algorithm>
#include <cmath>

struct PlaneBox {
    float minX = 0.0f;
    float minZ = 0.0f;
    float maxX = 0.0f;
    float maxZ = 0.0f;

    // The square of the given half-size centred on (x, z).
    static PlaneBox Around(float x, float z, float halfSize)
    {
        return {x - halfSize, z - halfSize, x + halfSize, z + halfSize};
    }

    // Boxes that only touch along an edge or at a corner still overlap.
    bool Overlaps(const PlaneBox& other) const
    {
        return !(minX > other.maxX || maxX < other.minX || minZ > other.maxZ || other.minZ > maxZ);
    }

    bool Contains(float x, float z) const { return x >= minX && x <= maxX && z >= minZ && z <= maxZ; }

    // Absolute, so a box turned inside out by a negative radius still costs area.
    float Area() const { return std::fabs(maxX - minX) * std::fabs(maxZ - minZ); }

    static PlaneBox Union(const PlaneBox& a, const PlaneBox& b)
    {
        return {std::min(a.minX, b.minX), std::min(a.minZ, b.minZ),
                std::max(a.maxX, b.maxX), std::max(a.maxZ, b.maxZ)};
    }

    bool operator==(const PlaneBox&) const = default;
};
