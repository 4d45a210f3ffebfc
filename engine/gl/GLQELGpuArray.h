#pragma once
// The pattern shared by the vertex, index and instance lists: a CPU array of
// fixed-size records with a changed flag, and a GPU buffer refreshed from it
// (whole, orphaning the old storage) just before a shader binds it. The
// buffer is made on the first upload, so lists work without a GL context.

#include <glad/gl.h>

#include <algorithm>
#include <vector>

#include "helper/QelAssert.h"

template <typename Record>
class GLQELGpuArray {
public:
    // Count must be positive: an empty buffer cannot be drawn from.
    void Resize(int count)
    {
        QEL_ASSERT(count > 0, "S_OK == result");
        records_.assign(static_cast<size_t>(count), Record{});
        changed_ = true;
    }
    int Count() const { return static_cast<int>(records_.size()); }
    bool Changed() const { return changed_; }
    bool Contains(int index) const { return index >= 0 && index < Count(); }
    Record& At(int index) { return records_[static_cast<size_t>(index)]; }
    void MarkChanged() { changed_ = true; }

    // Returns whether data was sent.
    bool Upload(GLenum target)
    {
        if (buffer_ == 0)
            glGenBuffers(1, &buffer_);
        if (!changed_)
            return false;
        glBindBuffer(target, buffer_);
        glBufferData(target, static_cast<GLsizeiptr>(records_.size() * sizeof(Record)), records_.data(),
                     GL_DYNAMIC_DRAW);
        changed_ = false;
        return true;
    }
    GLuint Buffer() const { return buffer_; }

    // Per-axis minimum and maximum of the records' positions (x, y, z); the
    // first record starts both, so the array must not be empty.
    void Bounds(float minimum[3], float maximum[3])
    {
        for (int axis = 0; axis < 3; ++axis)
            minimum[axis] = maximum[axis] = records_.front().position[axis];
        for (const Record& record : records_)
            for (int axis = 0; axis < 3; ++axis) {
                minimum[axis] = std::min(minimum[axis], record.position[axis]);
                maximum[axis] = std::max(maximum[axis], record.position[axis]);
            }
    }
    // Only with a context; the caller knows.
    void ReleaseBuffer()
    {
        if (buffer_ != 0)
            glDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }

private:
    std::vector<Record> records_;
    bool changed_ = true;
    GLuint buffer_ = 0;
};
