#pragma once
// A named list of 32-bit vertex indices with a CPU copy; the GPU copy is
// refreshed just before a shader binds it, and only when it changed.

#include <cstdint>

class QelIndexList {
public:
    virtual ~QelIndexList() = default;

    // New count; earlier indices are lost.
    virtual void Resize(int count) = 0;
    virtual void SetIndex(int index, uint32_t value) = 0;
    virtual uint32_t GetIndex(int index) = 0;
    virtual int GetCount() = 0;
    // All indices at once; the count must be GetCount().
    virtual void SetIndices(const uint32_t* indices, int count) = 0;
    virtual const uint32_t* Indices() = 0;
};
