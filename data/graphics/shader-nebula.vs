#version 330 core
// Nebula: a surface clouded by the pixel shader.

#include "flat-block.glsl"
#include "qel-target.glsl"
#include "mesh-vertex.glsl"
