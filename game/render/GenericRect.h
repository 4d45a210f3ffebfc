#pragma once
// A flat unit square in the horizontal plane (-1..1 on x and z), drawn with
// the "Flat" shader in one colour (over a texture, when given), without
// depth writes. A band keeps of the square only what lies between two
// circles about its centre, textured as the square is: ring art whose
// middle and corners are empty draws without shading them.
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
    // The band from inner to outer (in the square's half sizes, outer at
    // most 1), its circles drawn as polygons of this many sides that never
    // cut into the band.
    GenericRect(float inner, float outer, int sides);
    void Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour, Qel2dBitmap* texture = nullptr);

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};
