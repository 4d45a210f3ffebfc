#pragma once
// The graphics service's index list: 32-bit vertex indices of a mesh.

#include "engine/base/QelCpuIndexList.h"
#include "engine/gl/GLQELGpuBuffer.h"

class GLQELIndexList : public QelCpuIndexList {
public:
    using QelCpuIndexList::QelCpuIndexList;

    // Sends the indices when they changed; true when it did.
    bool UploadChanges() { return buffer_.Upload(GL_ELEMENT_ARRAY_BUFFER, Records()); }
    GLuint Buffer() const { return buffer_.Buffer(); }

private:
    GLQELGpuBuffer buffer_;
};
