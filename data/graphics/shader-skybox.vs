#version 330 core
// Skybox: the star box around the camera; the matrices arrive without
// their translations, so it turns with the camera but never comes nearer. It
// lies at the far end of the depth range, so anything drawn hides it whether
// it is drawn before the sky or after it (after, the sky is only shaded where
// it shows).

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
};

#include "qel-target.glsl"

layout(location = 0) in vec4 position;
layout(location = 4) in vec2 texA;

out vec2 vTexCoord;

// Just short of the far plane, so the sky still passes a depth test against
// a cleared depth buffer.
const float kFarthest = 0.999999;

void main()
{
    vec4 p = vec4(position.xyz, 1.0) * worldMatrix * viewMatrix * projectionMatrix;
    p.z = p.w * kFarthest;
    gl_Position = QelToTarget(p);
    vTexCoord = texA;
}
