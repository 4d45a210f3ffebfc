#pragma once
// The graphics service's vertex list: 100-byte 3D vertices, edited one by one
// on the CPU copy and uploaded whole when a shader is about to draw them.

#include "engine/base/QelCpuVertList.h"
#include "engine/gl/GLQELGpuBuffer.h"

class GLQELVertList : public QelCpuVertList {
public:
    using QelCpuVertList::QelCpuVertList;

    // Sends the vertices when they changed; true when it did.
    bool Upload() { return buffer_.Upload(GL_ARRAY_BUFFER, Records()); }
    GLuint Buffer() const { return buffer_.Buffer(); }

private:
    GLQELGpuBuffer buffer_;
};
