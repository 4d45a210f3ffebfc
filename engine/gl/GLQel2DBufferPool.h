#pragma once
// The 2D batches' flush: every filled batch goes to one GL vertex buffer in
// draw order, and each run of batches of one key is drawn through its 2D
// shader into the current target with one call.

#include <glad/gl.h>

#include <vector>

#include "engine/base/Qel2DBatch.h"

class GLQel2DBitmap;
class GLQelGraphicsClass;

class GLQel2DBufferPool : public Qel2DBufferPool {
public:
    explicit GLQel2DBufferPool(GLQelGraphicsClass& graphics) : graphics_(graphics) {}
    ~GLQel2DBufferPool() override;
    GLQel2DBufferPool(const GLQel2DBufferPool&) = delete;
    GLQel2DBufferPool& operator=(const GLQel2DBufferPool&) = delete;

    // Draws the filled batches, lowest order key first, and empties them.
    void Flush2DBuffers();

    GLQel2DBitmap* CurrentTarget() const { return currentTarget_; }
    void SetCurrentTarget(GLQel2DBitmap* target) { currentTarget_ = target; }

private:
    // The runs' vertices, one after another, into the vertex buffer.
    void Upload(const std::vector<Qel2DDrawRun>& runs);
    static void CopyVertices(const std::vector<Qel2DDrawRun>& runs, Qel2DVertex* out);

    GLQelGraphicsClass& graphics_;
    GLQel2DBitmap* currentTarget_ = nullptr;  // null: the screen
    GLuint vertexBuffer_ = 0;
    std::vector<Qel2DVertex> staged_;  // the copy when the store cannot be mapped
};
