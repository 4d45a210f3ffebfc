#version 330 core
// Phong: a textured mesh lit by one directional light.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 ambientColor;
    vec4 lightDir;
};

#include "qel-target.glsl"

layout(location = 0) in vec4 position;
layout(location = 1) in vec3 normal;
layout(location = 4) in vec2 texA;

out vec3 vNormal;
out vec2 vTexCoord;

void main()
{
    vec4 world = vec4(position.xyz, 1.0) * worldMatrix;
    vNormal = (vec4(normal, 0.0) * worldMatrix).xyz;
    vTexCoord = texA;
    gl_Position = QelToTarget(world * viewMatrix * projectionMatrix);
}
