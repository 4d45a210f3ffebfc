#pragma once
// The box from -1 to 1 that the planet and nebula shaders draw their bodies
// on: eight corners, each with its corner direction as normal and white as
// colour, and twelve triangles. The lists are the graphics service's, made
// once under the caller's names and shared by every draw of that renderer.

#include <string>

class QelIndexList;
class QelVertexList;

struct UnitCubeLists {
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;

    bool Ready() const { return vertices && indices; }
};

// Made through the graphics service; empty lists without one (the headless
// server draws no planets).
UnitCubeLists MakeUnitCube(const std::string& vertexListName, const std::string& indexListName);
