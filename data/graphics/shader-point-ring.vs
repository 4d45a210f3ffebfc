#version 330 core
// PointRing: a mesh whose pixels know their world position.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 color;
    vec4 centerPoint;
    vec4 minMax;
};

#include "qel-target.glsl"
#include "mesh-vertex.glsl"
