#version 330 core
// 2D batches: positions arrive in clip space already.

layout(std140) uniform Constants {
    vec4 params;  // (0, 0.5, 0, 1)
};
layout(std140) uniform QelTarget {
    vec4 targetFlip;  // x: 1 for the screen, -1 for a bitmap target
};

layout(location = 0) in vec4 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec4 colour;

out vec2 vTexCoord;
out vec4 vColour;

void main()
{
    vec4 p = position;
    p.y *= targetFlip.x;
    p.z = p.z * 2.0 - p.w;  // depth 0..1 to OpenGL's -1..1
    gl_Position = p;
    vTexCoord = texCoord;
    vColour = colour;
}
