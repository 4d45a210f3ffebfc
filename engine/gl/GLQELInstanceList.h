#pragma once
// The graphics service's instance list: per-instance records for instanced
// particle drawing, read by the standard layout's second stream.

#include "engine/base/QelCpuInstanceList.h"
#include "engine/gl/GLQELGpuBuffer.h"

class GLQELInstanceList : public QelCpuInstanceList {
public:
    using QelCpuInstanceList::QelCpuInstanceList;

    bool UploadChanges() { return buffer_.Upload(GL_ARRAY_BUFFER, Records()); }
    GLuint Buffer() const { return buffer_.Buffer(); }

private:
    GLQELGpuBuffer buffer_;
};
