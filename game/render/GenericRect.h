#pragma once
// A flat unit square in the horizontal plane (-1..1 on x and z), drawn with
// the "Flat" shader in one colour, without depth writes.
//
// Main thread only.

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class GenericRect {
public:
    GenericRect();
    void Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour);

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};
