#pragma once
// A named list of 100-byte 3D vertices with a CPU copy (kept without GL, so a
// server can answer mesh requests); the GPU copy is refreshed just before a
// shader binds it, and only when it changed.

#include <cstdint>

// The vertex as stored and uploaded (100 bytes).
struct QelVertex {
    float position[4];  // w is always 1
    float normal[3];
    float binormal[3];
    float tangent[3];
    float texCoord[4][2];  // TEXA to TEXD
    float colour[4];
};
static_assert(sizeof(QelVertex) == 100, "the vertex stream reads 100-byte vertices");

// The vertex as passed in and out: the same without w.
struct QelVertexRecord {
    float position[3];
    float normal[3];
    float binormal[3];
    float tangent[3];
    float texCoord[4][2];
    float colour[4];
};
static_assert(sizeof(QelVertexRecord) == 96, "the whole-vertex record is 24 floats");

class QelVertexList {
public:
    virtual ~QelVertexList() = default;

    virtual void Resize(int count) = 0;
    virtual void SetPosition(int index, float x, float y, float z) = 0;
    // which: 0 normal, 1 binormal, 2 tangent
    virtual void SetVector(int index, int which, float x, float y, float z) = 0;
    virtual void SetTexCoord(int index, int which, float u, float v) = 0;
    virtual void SetColor(int index, float r, float g, float b, float a) = 0;
    virtual void SetVertex(int index, const QelVertexRecord& record) = 0;
    virtual void GetPosition(int index, float& x, float& y, float& z) = 0;
    virtual void GetVector(int index, int which, float& x, float& y, float& z) = 0;
    virtual void GetTexCoord(int index, int which, float& u, float& v) = 0;
    virtual void GetColor(int index, float& r, float& g, float& b, float& a) = 0;
    virtual QelVertexRecord GetVertex(int index) = 0;
    virtual int GetCount() = 0;
    virtual void GetBounds(float minimum[3], float maximum[3]) = 0;
    // All vertices at once, as stored (w included): mesh files and transfers
    // copy whole arrays. The count must be GetCount().
    virtual void SetVertices(const QelVertex* vertices, int count) = 0;
    virtual const QelVertex* Vertices() = 0;
};
