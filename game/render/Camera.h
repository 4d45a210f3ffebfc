#pragma once
// The 3D view's camera: an eye and either a point looked at or a pair of
// angles, turned into the view matrix. The eye and the target are kept
// negated: the eye is the view matrix's translation, minus the viewer's world
// position, and every user that needs the world position negates it.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class Camera {
public:
    virtual ~Camera() = default;

    // Eye (1, 100, 1), no yaw or pitch; the target and matrix stay as they are.
    virtual void Reset();
    // matrix := LookAt(eye, target).
    virtual void LookAtTarget();
    // matrix := the view from eye, yaw and pitch.
    virtual void UpdateMatrix();

    // Turns the camera (yaw and pitch) to look from eye at target, both
    // negated world positions, and returns the view matrix from that eye. The
    // eye, target and matrix are not stored: callers keep what they need.
    // Eye and target in one place give no direction: the angles stay.
    glm::mat4 LookAt(const glm::vec3& eyeAt, const glm::vec3& targetAt);

    // Rx(pitch) · Ry(yaw) · T(eye): the translation first, then yaw, then
    // pitch, for column vectors (the memory layout of the row-vector maths).
    static glm::mat4 ViewMatrix(const glm::vec3& eyeAt, float yawAngle, float pitchAngle);

    glm::mat4 matrix{1.0f};  // the current view matrix
    glm::vec3 eye{0.0f};     // minus the viewer's world position
    glm::vec3 target{0.0f};  // minus the world point looked at
    float yaw = 0.0f;        // radians about +y; 0 looks along +z
    float pitch = 0.0f;      // radians about +x; positive looks up
};
