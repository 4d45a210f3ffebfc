#version 330 core
// NebulaVolume: the box around the cloud, drawn for its pixels' world positions.

#include "nebula-volume-block.glsl"
#include "qel-target.glsl"
#include "mesh-vertex.glsl"
