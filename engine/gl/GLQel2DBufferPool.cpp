#include "engine/gl/GLQel2DBufferPool.h"

#include "engine/gl/GLQELShaderRoot.h"
#include "engine/gl/GLQelGraphicsClass.h"

GLQel2DBuffer::~GLQel2DBuffer()
{
    if (vertexBuffer_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteBuffers(1, &vertexBuffer_);
}

// The whole store is orphaned and refilled, the GL form of a discard map.
void GLQel2DBuffer::Upload()
{
    if (vertexBuffer_ == 0)
        glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Qel2DVertex) * kCapacity * 3), nullptr,
                 GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(sizeof(Qel2DVertex) * VertexCount()), Vertices());
}

std::unique_ptr<Qel2DBuffer> GLQel2DBufferPool::NewBuffer()
{
    return std::make_unique<GLQel2DBuffer>();
}

void GLQel2DBufferPool::Flush2DBuffers()
{
    for (Qel2DBuffer* filled : FilledInDrawOrder()) {
        auto* buffer = static_cast<GLQel2DBuffer*>(filled);
        QelDrawProcess* process = buffer->Key().shader ? buffer->Key().shader : graphics_.FindShader("2DNormal");
        auto* shader = static_cast<GLQELShaderRoot*>(process);
        if (shader != nullptr && GLQelGraphicsClass::ContextReady()) {
            buffer->Upload();
            shader->Set2DBatch(buffer, buffer->VertexBuffer(), currentTarget_);
            shader->Draw2D();
            shader->Set2DBatch(nullptr, 0, nullptr);
        }
        buffer->Clear();
    }
}
