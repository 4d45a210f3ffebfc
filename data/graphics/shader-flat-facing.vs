#version 330 core
// FlatFacing: Flat, with how squarely each surface faces the viewer.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 color;
};
layout(std140) uniform QelTarget {
    vec4 targetFlip;
};

layout(location = 0) in vec4 position;
layout(location = 1) in vec3 normal;
layout(location = 4) in vec2 texA;
layout(location = 8) in vec4 vertexColour;

out vec2 vTexCoord;
out vec4 vColour;
out float vFacing;

void main()
{
    vec4 viewPosition = vec4(position.xyz, 1.0) * worldMatrix * viewMatrix;
    vec3 viewNormal = normalize((vec4(normal, 0.0) * worldMatrix * viewMatrix).xyz);
    vFacing = abs(dot(viewNormal, normalize(-viewPosition.xyz)));
    vec4 p = viewPosition * projectionMatrix;
    p.y *= targetFlip.x;
    p.z = p.z * 2.0 - p.w;
    gl_Position = p;
    vTexCoord = texA;
    vColour = vertexColour;
}
