#pragma once
// A flat unit square in the horizontal plane (-1..1 on x and z), drawn with
// the "Flat" shader in one colour (over a texture, when given), without
// depth writes.
//
// Main thread only.

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

class Qel2dBitmap;
class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class GenericRect {
public:
    GenericRect();
    void Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour, Qel2dBitmap* texture = nullptr);

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};
