#include "engine/gl/GLQELShader2DNormal.h"

#include "engine/base/Qel2DBatch.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "helper/QelAssert.h"

namespace {

// The 2D block; nothing reads it but its layout is fixed.
constexpr float k2DConstants[4] = {0.0f, 0.5f, 0.0f, 1.0f};

}  // namespace

bool GLQELShader2DNormal::Setup(SDL_Window* window)
{
    return Initialise(window, "data/QelDefault/shader-2dnormal.vs", "data/QelDefault/shader-2dnormal.ps");
}

bool GLQELShader2DNormal::Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    pointSampler_ = CreateSampler(GL_NEAREST, GL_NEAREST, GL_REPEAT, 0.0f);
    smoothSampler_ = CreateSampler(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, 0.0f);
    return pointSampler_ != 0 && smoothSampler_ != 0;
}

void GLQELShader2DNormal::Release()
{
    if (GLQelGraphicsClass::ContextReady()) {
        if (pointSampler_ != 0)
            glDeleteSamplers(1, &pointSampler_);
        if (smoothSampler_ != 0)
            glDeleteSamplers(1, &smoothSampler_);
    }
    pointSampler_ = smoothSampler_ = 0;
}

void GLQELShader2DNormal::SetParameter(std::string, float, float, float, float)
{
    QEL_ASSERT(false, "false");
}

void GLQELShader2DNormal::BindBatch()
{
    WriteConstants(k2DConstants, sizeof(k2DConstants));
    BindConstants();
    auto* texture = static_cast<GLQel2DBitmap*>(batch_->Key().texture);
    texture->UnmapPixels();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->Texture());
    Bind2DStream(batchVertexBuffer_);
}

void GLQELShader2DNormal::DrawBatch()
{
    const bool lines = batch_->Key().lines;
    glDrawArrays(lines ? GL_LINES : GL_TRIANGLES, batchFirstVertex_, batchPrimitives_ * (lines ? 2 : 3));
}

void GLQELShader2DNormal::Draw2D()
{
    if (batch_ == nullptr || !IsReady())
        return;
    const bool additive = batch_->Key().additive;
    ApplyStates(additive, false, false, true);
    BindBatch();
    glBindSampler(0, batch_->Key().smooth ? smoothSampler_ : pointSampler_);
    DrawBatch();
    RestoreStates(additive, false, false, true);
    glBindTexture(GL_TEXTURE_2D, 0);
}
