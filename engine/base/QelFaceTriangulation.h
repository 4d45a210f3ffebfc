#pragma once
// Splits one polygon face of a mesh into triangles by ear clipping.

#include <glm/vec3.hpp>

#include <cstdint>
#include <vector>

// Corner indices, three per triangle, in the face's own winding; a convex
// face of n corners gives n − 2 triangles fanned around its last corner, and
// each triangle lists its corners in ascending order. Fewer than three
// corners give none. A face that is not flat or crosses itself still gives
// n − 2 triangles, clipped where no proper ear is left.
std::vector<uint32_t> TriangulateFace(const std::vector<glm::vec3>& corners);
