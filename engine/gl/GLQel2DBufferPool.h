#pragma once
// The 2D batches with their GL vertex buffers, and the flush that draws them
// through their 2D shaders into the current target.

#include <glad/gl.h>

#include "engine/base/Qel2DBatch.h"

class GLQel2DBitmap;
class GLQelGraphicsClass;

class GLQel2DBuffer : public Qel2DBuffer {
public:
    ~GLQel2DBuffer() override;
    // Sends the primitives to the vertex buffer (made on first use).
    void Upload();
    GLuint VertexBuffer() const { return vertexBuffer_; }

private:
    GLuint vertexBuffer_ = 0;
};

class GLQel2DBufferPool : public Qel2DBufferPool {
public:
    explicit GLQel2DBufferPool(GLQelGraphicsClass& graphics) : graphics_(graphics) {}

    // Draws the filled batches, lowest order key first, and empties them.
    void Flush2DBuffers();

    GLQel2DBitmap* CurrentTarget() const { return currentTarget_; }
    void SetCurrentTarget(GLQel2DBitmap* target) { currentTarget_ = target; }

protected:
    std::unique_ptr<Qel2DBuffer> NewBuffer() override;

private:
    GLQelGraphicsClass& graphics_;
    GLQel2DBitmap* currentTarget_ = nullptr;  // null: the screen
};
