#pragma once
// A box between two corners, drawn with the "Flat" shader in one colour: a
// unit cube whose corners are stretched onto the box at every draw (the
// path-test scene's bounding boxes). A minimum above the maximum on an axis
// mirrors the box on it.
//
// Main thread only.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>

class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class GenericBox {
public:
    static constexpr int kFaces = 6;

    GenericBox();
    void Draw(const glm::vec3& minimum, const glm::vec3& maximum, const glm::mat4& world, const glm::mat4& view,
              const glm::vec4& colour, bool additive, bool depth);
    // Face f's four vertices and six indices (two triangles), and its
    // corners in the unit cube.
    void WriteVertices(int face, const std::array<glm::vec3, 4>& corners, const glm::vec4& colour);

    QelVertexList* Vertices() const { return vertices; }

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
    std::array<glm::vec3, kFaces * 4> unitCorners{};
};
