#pragma once
// The engine's mesh cache, ".qelmesh": the draw units of a 3D object with the
// contents of their lists, so a mesh loads without parsing its OBJ file.
//
// Little-endian, no header, no padding; a string is an int16 length and its
// bytes. A byte of unit count (1..127), then per unit: the shader name; a
// byte of texture count and the texture names; a byte of vertex-list count
// and per list its name, an int32 vertex count and the 100-byte vertices as
// stored; a byte of index-list count and per list its name, an int32 index
// count and the uint32 indices. Nothing follows the last unit.
//
// The reader trusts nothing: every count, length and index is checked, and a
// file that breaks a rule is reported damaged as a whole.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelVertexList.h"

class QelFileIO;

struct QelMeshFileUnit {
    struct VertexList {
        std::string name;
        std::vector<QelVertex> vertices;
    };
    struct IndexList {
        std::string name;
        std::vector<uint32_t> indices;
    };

    std::string shaderName;
    std::vector<std::string> textureNames;
    std::vector<VertexList> vertexLists;
    std::vector<IndexList> indexLists;
};

// Counts stored in one byte and read as signed: 1..127.
inline constexpr int kMaxMeshFileCount = 127;
// Names must be shorter than this.
inline constexpr int kMaxMeshFileName = 1000;

// Reads a whole mesh file from a file object loaded for buffered reading.
// False, with what is wrong in error, when the file breaks a rule: a count
// outside 1..127, a name of 1000 bytes or more, an empty or cut-off list, an
// index outside the unit's first vertex list, a number that is not finite,
// or bytes after the last unit.
bool ReadQelMesh(QelFileIO& file, std::vector<QelMeshFileUnit>& units, std::string& error);

// The file's bytes for the units; false when a count or name does not fit
// the format (or the file would pass 2 GB).
bool EncodeQelMesh(const std::vector<QelMeshFileUnit>& units, std::string& bytes);
