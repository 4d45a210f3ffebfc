#pragma once
// The six planes of a view frustum, for culling points and spheres before
// they are drawn. Built from the camera's eye (negated, as the camera keeps
// it), its direction and the projection's angle, aspect and distances.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <array>

class VecFrustum {
public:
    struct Plane {
        glm::vec3 normal{0.0f};  // unit length, pointing into the frustum
        glm::vec3 point{0.0f};   // a point of the plane
    };

    virtual ~VecFrustum() = default;

    // position: minus the viewer's world position; direction: the view
    // direction (its length scales the near and far distances); the view
    // matrix is not used. A direction along the y axis has no side vector,
    // so the planes are left as they were.
    virtual void Build(const glm::vec3& position, const glm::vec3& direction, const glm::mat4& view,
                       float fieldOfView, float aspect, float nearDistance, float farDistance);
    // Inside or on every plane.
    virtual bool TestPoint(const glm::vec3& point) const;
    // Not wholly outside any plane: a sphere that straddles one counts as inside.
    virtual bool TestSphere(const glm::vec3& centre, float radius) const;

    // Two side planes, lower, upper, far, near.
    std::array<Plane, 6> planes;
};
