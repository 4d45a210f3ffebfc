#version 330 core
// GasGiant: the box around the planet, drawn for its pixels' world positions.

#include "planet-block.glsl"
#include "qel-target.glsl"
#include "mesh-vertex.glsl"
