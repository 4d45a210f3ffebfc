#include "engine/gl/GLQelRenderStates.h"

namespace {

// The "QelTarget" block: x = 1 for the screen, -1 for a bitmap.
struct TargetBlock {
    float flip[4];
};

constexpr GLuint kStencilMask = 0xFF;
constexpr GLint kStencilReference = 1;

}  // namespace

void GLQelRenderStates::Reset()
{
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_CLAMP);  // depth clip on, as the device's rasterizer has it
    if (targetBlock_ == 0)
        glGenBuffers(1, &targetBlock_);
    targetIsBitmap_ = false;
    UploadTarget();
    blend_ = GLQelBlendState::Device();
    depthStencil_ = GLQelDepthStencilState::Device();
    SetBlend(blend_);
    SetDepthStencil(depthStencil_);
}

void GLQelRenderStates::Release()
{
    if (targetBlock_ != 0)
        glDeleteBuffers(1, &targetBlock_);
    targetBlock_ = 0;
}

void GLQelRenderStates::SetBlend(const GLQelBlendState& state)
{
    blend_ = state;
    if (state.enabled)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFuncSeparate(state.sourceColour, state.destinationColour, state.sourceAlpha, state.destinationAlpha);
}

void GLQelRenderStates::SetDepthStencil(const GLQelDepthStencilState& state)
{
    depthStencil_ = state;
    if (state.depthTest)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(state.depthWrite ? GL_TRUE : GL_FALSE);
    glDepthFunc(state.depthFunction);
    if (!state.stencil) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, kStencilReference, kStencilMask);
    glStencilMask(kStencilMask);
    glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_INCR, GL_KEEP);
    glStencilOpSeparate(GL_BACK, GL_KEEP, GL_DECR, GL_KEEP);
}

void GLQelRenderStates::SetTargetIsBitmap(bool bitmap)
{
    if (bitmap == targetIsBitmap_)
        return;
    targetIsBitmap_ = bitmap;
    UploadTarget();
}

// Clockwise triangles face the viewer; mirroring y turns them the other way.
void GLQelRenderStates::UploadTarget()
{
    const TargetBlock block{{targetIsBitmap_ ? -1.0f : 1.0f, 0.0f, 0.0f, 0.0f}};
    glBindBuffer(GL_UNIFORM_BUFFER, targetBlock_);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(block), &block, GL_DYNAMIC_DRAW);
    glBindBufferBase(GL_UNIFORM_BUFFER, kTargetBinding, targetBlock_);
    glFrontFace(targetIsBitmap_ ? GL_CCW : GL_CW);
}
