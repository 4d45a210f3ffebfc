#version 330 core
// Skybox: the star box around the camera; the matrices arrive without
// their translations, so it turns with the camera but never comes nearer.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
};

#include "qel-target.glsl"

layout(location = 0) in vec4 position;
layout(location = 4) in vec2 texA;

out vec2 vTexCoord;

void main()
{
    gl_Position = QelToTarget(vec4(position.xyz, 1.0) * worldMatrix * viewMatrix * projectionMatrix);
    vTexCoord = texA;
}
