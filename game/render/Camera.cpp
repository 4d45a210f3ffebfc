#include "game/render/Camera.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

void Camera::Reset()
{
    eye = glm::vec3(1.0f, 100.0f, 1.0f);
    yaw = 0.0f;
    pitch = 0.0f;
}

void Camera::LookAtTarget()
{
    matrix = LookAt(eye, target);
}

void Camera::UpdateMatrix()
{
    matrix = ViewMatrix(eye, yaw, pitch);
}

// With both points negated, eye − target is the world direction from the
// viewer to the point looked at.
glm::mat4 Camera::LookAt(const glm::vec3& eyeAt, const glm::vec3& targetAt)
{
    const glm::vec3 offset = eyeAt - targetAt;
    const float length = glm::length(offset);
    if (length > 0.0f && std::isfinite(length)) {
        const glm::vec3 d = offset / length;
        // Straight up or down, atan2 of two zeros gives 0 whatever their signs.
        yaw = d.x == 0.0f && d.z == 0.0f ? 0.0f : std::atan2(-d.x, d.z);
        pitch = std::atan2(d.y, std::sqrt(d.z * d.z + d.x * d.x));
    }
    return ViewMatrix(eyeAt, yaw, pitch);
}

glm::mat4 Camera::ViewMatrix(const glm::vec3& eyeAt, float yawAngle, float pitchAngle)
{
    const glm::mat4 identity(1.0f);
    return glm::rotate(identity, pitchAngle, glm::vec3(1.0f, 0.0f, 0.0f)) *
           glm::rotate(identity, yawAngle, glm::vec3(0.0f, 1.0f, 0.0f)) * glm::translate(identity, eyeAt);
}
