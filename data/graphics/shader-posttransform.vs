#version 330 core
// PostTransform: unindexed triangles in their vertex colours.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 unusedRow;
};

#include "qel-target.glsl"

layout(location = 0) in vec4 position;
layout(location = 4) in vec2 texA;
layout(location = 8) in vec4 colour;

out vec2 vTexCoord;
out vec4 vColour;

void main()
{
    gl_Position = QelToTarget(vec4(position.xyz, 1.0) * worldMatrix * viewMatrix * projectionMatrix);
    vTexCoord = texA;
    vColour = colour;
}
