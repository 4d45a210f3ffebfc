#include "engine/gl/GLQELGpuBuffer.h"

#include "engine/gl/GLQelGraphicsClass.h"

// Only with a context: a list made without one never made its buffer.
GLQELGpuBuffer::~GLQELGpuBuffer()
{
    if (buffer_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteBuffers(1, &buffer_);
}
