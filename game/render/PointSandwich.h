#pragma once
// A closed shell around a ship's hull: two height fields over a square grid
// in the horizontal (x, z) plane, a top surface through the highest and a
// bottom one through the lowest mesh points near each grid point, slightly
// padded. It is the ship's shield as drawn ("PointRing" shader, or "Flat" in
// the editor) and the surface beams strike. Built once per ship type and kept
// in a cache file, "data/graphics/<name>.pointcube", which is read instead of
// building when it is sound.
//
// The cache: little-endian, no header: int32 vertex count V, V whole-vertex
// records (24 floats: position, normal, binormal, tangent, four texture
// coordinate pairs, colour), int32 index count I, I uint32 indices.

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelVertexList.h"

class QEL3DObject;
class QelDrawProcess;
class QelGraphicsFactoryBase;
class QelIndexList;

class PointSandwich {
public:
    struct Cell {
        float x = 0.0f, z = 0.0f;        // the grid point
        float low = 0.0f, high = 0.0f;   // the shell's bottom and top there
    };

    // The grid is never finer than this many cells a side: a hull much longer
    // than it is wide would otherwise ask for millions of cells.
    static constexpr int kMaxGridSide = 160;

    // Reads the cache of that name, else builds from the mesh (and with save
    // writes the cache). A mesh with no extent gives an empty shell.
    PointSandwich(std::string name, const QEL3DObject* mesh, bool save, QelGraphicsFactoryBase& graphics);
    // The same through the process's graphics service.
    PointSandwich(std::string name, const QEL3DObject* mesh, bool save);
    virtual ~PointSandwich() = default;

    void BuildLayers();
    void BuildQuads();
    // Takes the "PointRing" shader and puts the vertices and indices into
    // lists of their own in the service, under the first number no shell's
    // lists there use yet.
    void BuildBuffers();

    // Draws the shell in the colour with the centre point and band set by the
    // caller ("PointRing"), or flat in the colour ("Flat").
    void Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour);
    void DrawFlat(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour);

    // The nearest hit of the ray on the shell (model space) within 1000000;
    // the face normal is not normalised. An empty shell hits nothing.
    bool RayCast(const glm::vec3& origin, const glm::vec3& direction, float& distance, glm::vec3& hitPoint,
                 glm::vec3& normal) const;

    // False when the file cannot be written.
    bool SaveNative(const std::string& cacheName) const;
    // False, with one log line when it exists but is damaged (counts, size,
    // indices or numbers), when the file cannot be used.
    bool LoadNative(const std::string& cacheName);

    std::string name;                  // the mesh name, "ships/<art file root>" for ship types
    const QEL3DObject* mesh = nullptr;  // built from; not owned
    float cellSize = 0.0f;             // grid pitch in model units
    int32_t columns = 0, rows = 0;     // grid size along x and z
    std::vector<Cell> cells;           // cell (i, j) at i + j × columns; empty for a shell read from its cache
    glm::vec3 origin{0.0f};            // position of cell (0, 0)
    glm::vec2 minMax{1.0f, 20.0f};     // the band drawn, in layer units
    glm::vec3 centerPoint{0.0f};       // where the band is centred
    std::vector<QelVertexRecord> vertices;
    std::vector<uint32_t> indices;     // three per triangle
    QelDrawProcess* shader = nullptr;  // "PointRing"
    QelVertexList* vertexList = nullptr;
    QelIndexList* indexList = nullptr;

private:
    bool PlanGrid();
    int32_t FreeListNumber() const;
    void AddQuad(const Cell& a, const Cell& b, const Cell& c, const Cell& d, bool top);
    void DrawWith(QelDrawProcess* process, const glm::mat4& world, const glm::mat4& view);

    QelGraphicsFactoryBase& graphics_;
};
