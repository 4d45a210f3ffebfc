#pragma once
// Vector helpers that never make a NaN. Positions, orientations and speeds in
// the world must stay finite numbers: the move step takes a NaN for the
// program's own fault, so whatever scripts, consoles or runaway coefficients
// produce is checked with these before it is stored.

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cmath>

// Whether every component of a glm vector or quaternion is a finite number.
template <typename Value>
bool AllFinite(const Value& value)
{
    for (typename Value::length_type i = 0; i < Value::length(); ++i)
        if (!std::isfinite(value[i]))
            return false;
    return true;
}

// Unit length, or the zero vector (which moves nothing) when the vector has no
// usable direction: zero, too small to measure, or not a number.
inline glm::vec3 SafeNormalize(const glm::vec3& v)
{
    const float length = glm::length(v);
    return length > 0.0f && std::isfinite(length) ? v / length : glm::vec3(0.0f);
}
