#pragma once
// Something that draws: a shader class bound to its render states. Callers
// fetch one by name from the graphics service, set named parameters and fill
// its resource lists, then draw; the 2D flush calls Draw2D for each batch.

#include <glm/mat4x4.hpp>
#include <string>
#include <vector>

class Qel2dBitmap;
class QelVertexList;
class QelIndexList;
class QelInstanceList;

class QelDrawProcess {
public:
    virtual ~QelDrawProcess() = default;

    // Draws the 2D batch handed over by the flush; 3D classes do nothing.
    virtual void Draw2D() = 0;
    // world and view as the CPU maths builds them (left-handed, row vectors);
    // count 0 draws the whole first index list, else count triangles;
    // instanced classes draw count vertices per instance.
    virtual void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count,
                        int instanceCount) = 0;
    // Sets one constant or switch by its exact, case-sensitive name; a name the
    // class does not list is a program error.
    virtual void SetParameter(std::string name, float x, float y, float z, float w) = 0;

    // What the next 3D draw binds, filled by the caller (emptied first):
    // textures in slot order, then the vertex, index and instance lists, of
    // which the classes draw the first. All belong to the graphics service
    // that made this process.
    std::vector<Qel2dBitmap*> bitmap2DList;
    std::vector<QelVertexList*> vertList;
    std::vector<QelIndexList*> indexList;
    std::vector<QelInstanceList*> instanceList;
};
