#include "engine/gl/GLQel2DBufferPool.h"

#include <algorithm>

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

// The whole store is orphaned and the runs' vertices written straight into
// the new one, the GL form of a discard map: a crowded radar sends megabytes
// a frame, and a copy on the way would cost as much again. A store the
// driver will not map is filled from a copy instead.
void GLQel2DBufferPool::Upload(const std::vector<Qel2DDrawRun>& runs)
{
    size_t vertices = 0;
    for (const Qel2DDrawRun& run : runs)
        vertices += static_cast<size_t>(run.VertexCount());
    const auto bytes = static_cast<GLsizeiptr>(sizeof(Qel2DVertex) * vertices);
    if (vertexBuffer_ == 0)
        glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    void* store = glMapBufferRange(GL_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    if (store != nullptr) {
        CopyVertices(runs, static_cast<Qel2DVertex*>(store));
        glUnmapBuffer(GL_ARRAY_BUFFER);
        return;
    }
    staged_.resize(vertices);
    CopyVertices(runs, staged_.data());
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, staged_.data());
}

void GLQel2DBufferPool::CopyVertices(const std::vector<Qel2DDrawRun>& runs, Qel2DVertex* out)
{
    for (const Qel2DDrawRun& run : runs)
        for (const Qel2DBuffer* buffer : run.buffers)
            out = std::copy_n(buffer->Vertices(), buffer->VertexCount(), out);
}
