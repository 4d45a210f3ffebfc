#version 330 core
// InstancedPostTransform: billboards showing the whole texture.

vec2 CellCoordinates(vec2 uv, float cell)
{
    return uv;
}

#include "particle-billboard.glsl"
