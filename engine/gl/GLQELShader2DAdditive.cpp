#include "engine/gl/GLQELShader2DAdditive.h"

#include "engine/gl/GLQelGraphicsClass.h"

bool GLQELShader2DAdditive::Initialise(SDL_Window* window, const std::string& vertexFile,
                                       const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    ownSampler_ = CreateSampler(GL_LINEAR, GL_LINEAR, GL_REPEAT, 0.0f);
    return ownSampler_ != 0;
}

void GLQELShader2DAdditive::Release()
{
    if (ownSampler_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteSamplers(1, &ownSampler_);
    ownSampler_ = 0;
}

void GLQELShader2DAdditive::Draw2D()
{
    if (batch_ == nullptr || !IsReady())
        return;
    ApplyStates(false, true, false, false);
    BindBatch();
    glBindSampler(0, ownSampler_);
    DrawBatch();
    RestoreStates(false, true, false, false);
    glBindTexture(GL_TEXTURE_2D, 0);
}
