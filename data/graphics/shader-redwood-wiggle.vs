#version 330 core
// RedwoodWiggle: the lit-ship shader for creatures, whose bodies sway in
// waves running along their length. glowMult y: the wave's phase, z: its
// size, w: the divisor of the length per wave; cameraPos x and y: divisors
// of the vertical and horizontal sway (larger sways less).

#include "redwood-block.glsl"
#include "qel-target.glsl"

// The sway of a size 1 wave with divisors 1, in model units.
const float kSwayReach = 600.0;

#define QEL_SHAPE
vec3 Shape(vec3 p)
{
    float along = p.z / max(abs(glowMult.w), 0.001) + glowMult.y;
    float size = glowMult.z * kSwayReach;
    p.x += sin(along) * size / max(abs(cameraPos.y), 1.0);
    p.y += sin(along * 0.5 + 1.3) * size / max(abs(cameraPos.x), 1.0);
    return p;
}

#include "mesh-vertex.glsl"
