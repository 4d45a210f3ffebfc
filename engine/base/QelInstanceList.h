#pragma once
// A named list of per-instance records for instanced drawing, with a CPU copy
// uploaded just before a shader binds it, and only when it changed.

#include <cstdint>

// The record as the instanced shaders read it (52 bytes).
struct QelInstance {
    float position[4];
    float colour[4];
    float velocity[3];
    float age;
    float cellIndex;  // stored as a float, passed in and out as an integer
};
static_assert(sizeof(QelInstance) == 52, "the instance stream reads 52-byte records");

// The record as callers pass and receive it.
struct QelInstanceRecord {
    float position[4];
    float colour[4];
    float velocity[3];
    float age;
    int cellIndex;
};

class QelInstanceList {
public:
    virtual ~QelInstanceList() = default;

    virtual void Resize(int count) = 0;
    virtual void SetPosition(int index, float x, float y, float z, float w) = 0;
    virtual void SetColor(int index, float r, float g, float b, float a) = 0;
    virtual void SetAge(int index, float age) = 0;
    virtual void SetCellIndex(int index, int cell) = 0;
    virtual void SetInstance(int index, const QelInstanceRecord& record) = 0;
    virtual void GetPosition(int index, float& x, float& y, float& z, float& w) = 0;
    virtual void GetColor(int index, float& r, float& g, float& b, float& a) = 0;
    virtual float GetAge(int index) = 0;
    virtual int GetCellIndex(int index) = 0;
    virtual QelInstanceRecord GetInstance(int index) = 0;
    virtual int GetCount() = 0;
};
