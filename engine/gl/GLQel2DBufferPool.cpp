#include "engine/gl/GLQel2DBufferPool.h"

#include "engine/gl/GLQELShaderRoot.h"
#include "engine/gl/GLQelGraphicsClass.h"

GLQel2DBufferPool::~GLQel2DBufferPool()
{
    if (vertexBuffer_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteBuffers(1, &vertexBuffer_);
}

void GLQel2DBufferPool::Flush2DBuffers()
{
    const std::vector<Qel2DDrawRun> runs = RunsInDrawOrder();
    if (!runs.empty() && GLQelGraphicsClass::ContextReady()) {
        Upload(runs);
        GLint firstVertex = 0;
        for (const Qel2DDrawRun& run : runs) {
            QelDrawProcess* process = run.Key().shader ? run.Key().shader : graphics_.FindShader("2DNormal");
            if (auto* shader = static_cast<GLQELShaderRoot*>(process)) {
                shader->Set2DBatch(run.buffers.front(), vertexBuffer_, currentTarget_, firstVertex,
                                   run.PrimitiveCount());
                shader->Draw2D();
                shader->Set2DBatch(nullptr, 0, nullptr, 0, 0);
            }
            firstVertex += run.VertexCount();
        }
    }
    EmptyAll();
}

// The whole store is orphaned and refilled, the GL form of a discard map.
void GLQel2DBufferPool::Upload(const std::vector<Qel2DDrawRun>& runs)
{
    staged_.clear();
    for (const Qel2DDrawRun& run : runs)
        for (const Qel2DBuffer* buffer : run.buffers)
            staged_.insert(staged_.end(), buffer->Vertices(), buffer->Vertices() + buffer->VertexCount());
    if (vertexBuffer_ == 0)
        glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Qel2DVertex) * staged_.size()), staged_.data(),
                 GL_STREAM_DRAW);
}
