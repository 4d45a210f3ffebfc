#pragma once
// Import of Wavefront OBJ meshes and their MTL material libraries: what the
// mesh loader converts into draw units when no up-to-date cache exists.
//
// Every face corner becomes a vertex of its own (nothing is shared); faces of
// more than three corners are split into triangles. A face with a number that
// is not finite, fewer than three corners or more than kMaxFaceCorners is left
// out and counted; a number that does not read, or an index that names
// nothing, ends the import with a message naming the file and line.

#include <cstdint>
#include <string>
#include <vector>

struct QelObjVertex {
    float position[3];
    float normal[3];
    float u, v;  // texture coordinate
};

struct QelObjMaterial {
    std::string name;
    float Ka[3] = {}, Kd[3] = {}, Ks[3] = {};
    float Ns = 0, Ni = 0, d = 0;
    int32_t illum = 0;
    std::string mapKa, mapKd, mapKs, mapNs, mapD, mapBump;
};

struct QelObjGroup {
    std::string name;
    std::vector<QelObjVertex> vertices;
    std::vector<uint32_t> indices;  // into vertices, three per triangle
    QelObjMaterial material;
};

struct QelObjImport {
    // The ear search is cubic in a face's corners; no mesh of ours has faces
    // near this size, so a larger one is a damaged file.
    static constexpr size_t kMaxFaceCorners = 256;

    std::vector<QelObjGroup> groups;  // in file order
    std::vector<QelObjVertex> allVertices;
    std::vector<uint32_t> allIndices;  // into allVertices
    std::vector<QelObjMaterial> materials;
    int skippedFaces = 0;  // left out: not finite, too few or too many corners
    std::string error;     // why the last import failed
};

// Reads the OBJ file at path (a game path, "data/..." in the data folder),
// emptying the result first. True when it yielded a group, a vertex or an
// index; false, with the reason in result.error, when the path does not end
// in ".obj", the file cannot be read, nothing was in it, or it is damaged.
bool LoadOBJFile(QelObjImport& result, const std::string& path);

// Appends the materials of one library file. True when the material list is
// then not empty; false (with the reason in result.error) when the path does
// not end in ".mtl", the file cannot be read, or a number does not read.
bool LoadMTLFile(QelObjImport& result, const std::string& path);
