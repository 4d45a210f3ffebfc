#include "engine/gl/GLQELShader2DBlurAdditive.h"

#include "engine/base/Qel2DBatch.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"

bool GLQELShader2DBlurAdditive::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-2DBlurAdd.vs", "data/graphics/shader-2DBlurAdd.ps");
}

bool GLQELShader2DBlurAdditive::Initialise(SDL_Window* window, const std::string& vertexFile,
                                           const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    ownSampler_ = CreateSampler(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, 0.0f);
    return ownSampler_ != 0;
}

void GLQELShader2DBlurAdditive::Release()
{
    if (ownSampler_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteSamplers(1, &ownSampler_);
    ownSampler_ = 0;
}

void GLQELShader2DBlurAdditive::Draw2D()
{
    if (batch_ == nullptr || !IsReady())
        return;
    auto* texture = static_cast<GLQel2DBitmap*>(batch_->Key().texture);
    ApplyStates(true, false, false, true);
    const float block[4] = {1.0f / static_cast<float>(texture->GetWidth()),
                            1.0f / static_cast<float>(texture->GetHeight()), 0.0f, 1.0f};
    WriteConstants(block, sizeof(block));
    BindConstants();
    texture->UnmapPixels();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->Texture());
    Bind2DStream(batchVertexBuffer_);
    glBindSampler(0, ownSampler_);
    DrawBatch();
    RestoreStates(true, false, false, true);
    glBindTexture(GL_TEXTURE_2D, 0);
}
