#version 330 core
// Redwood: the lit-ship shader's vertices, the mesh as it is.

#include "redwood-block.glsl"
#include "qel-target.glsl"
#include "mesh-vertex.glsl"
