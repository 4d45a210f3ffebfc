#version 330 core
// Flat: a textured mesh. Matrices arrive transposed, so a position multiplies
// them from the left, as the left-handed maths writes it.

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
layout(location = 4) in vec2 texA;
layout(location = 8) in vec4 vertexColour;

out vec2 vTexCoord;
out vec4 vColour;

void main()
{
    vec4 p = vec4(position.xyz, 1.0) * worldMatrix * viewMatrix * projectionMatrix;
    p.y *= targetFlip.x;
    p.z = p.z * 2.0 - p.w;
    gl_Position = p;
    vTexCoord = texA;
    vColour = vertexColour;
}
