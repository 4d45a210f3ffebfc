#version 330 core
// Volume: the box around a ball of haze, drawn for its pixels' world positions.

#include "planet-block.glsl"
#include "qel-target.glsl"
#include "mesh-vertex.glsl"
