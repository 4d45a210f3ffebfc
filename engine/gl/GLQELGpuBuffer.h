#pragma once
// The GPU side shared by the vertex, index and instance lists: one buffer,
// refreshed whole from the list's CPU records (orphaning the old storage)
// just before a shader binds it, and only when they changed. The buffer is
// made on the first upload, so lists work without a GL context.

#include <glad/gl.h>

#include "engine/base/QelRecordArray.h"

class GLQELGpuBuffer {
public:
    GLQELGpuBuffer() = default;
    GLQELGpuBuffer(const GLQELGpuBuffer&) = delete;
    GLQELGpuBuffer& operator=(const GLQELGpuBuffer&) = delete;
    ~GLQELGpuBuffer();

    // Returns whether data was sent.
    template <typename Record>
    bool Upload(GLenum target, QelRecordArray<Record>& records)
    {
        if (buffer_ == 0)
            glGenBuffers(1, &buffer_);
        if (!records.Changed())
            return false;
        glBindBuffer(target, buffer_);
        glBufferData(target, static_cast<GLsizeiptr>(records.Bytes()), records.Data(), GL_DYNAMIC_DRAW);
        records.ClearChanged();
        return true;
    }
    GLuint Buffer() const { return buffer_; }

private:
    GLuint buffer_ = 0;
};
