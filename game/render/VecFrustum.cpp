#include "game/render/VecFrustum.h"

#include <glm/geometric.hpp>

#include <cmath>

void VecFrustum::Build(const glm::vec3& position, const glm::vec3& direction, const glm::mat4&, float fieldOfView,
                       float aspect, float nearDistance, float farDistance)
{
    const glm::vec3 side(direction.z, 0.0f, -direction.x);
    if (glm::length(side) == 0.0f)
        return;
    const glm::vec3 p = -position;
    const glm::vec3 sideUnit = glm::normalize(side);
    const glm::vec3 up = glm::normalize(glm::cross(direction, sideUnit));
    const glm::vec3 nearCentre = p + direction * nearDistance;
    const glm::vec3 farCentre = p + direction * farDistance;
    const float h = 2.0f * std::tan(fieldOfView / 2.0f) * nearDistance;
    const float w = h * aspect;

    const glm::vec3 right = glm::normalize(nearCentre + sideUnit * (w / 2) - p);
    const glm::vec3 left = glm::normalize(nearCentre - sideUnit * (w / 2) - p);
    const glm::vec3 low = glm::normalize(nearCentre - up * (h / 2) - p);
    const glm::vec3 high = glm::normalize(nearCentre + up * (h / 2) - p);
    planes[0] = {glm::normalize(glm::cross(right, up)), p};
    planes[1] = {glm::normalize(glm::cross(up, left)), p};
    planes[2] = {glm::normalize(glm::cross(low, sideUnit)), p};
    planes[3] = {glm::normalize(glm::cross(sideUnit, high)), p};
    planes[4] = {-direction, farCentre};
    planes[5] = {direction, nearCentre};
}

bool VecFrustum::TestPoint(const glm::vec3& point) const
{
    return TestSphere(point, 0.0f);
}

bool VecFrustum::TestSphere(const glm::vec3& centre, float radius) const
{
    for (const Plane& plane : planes)
        if (glm::dot(plane.normal, centre) - glm::dot(plane.normal, plane.point) < -radius)
            return false;
    return true;
}
