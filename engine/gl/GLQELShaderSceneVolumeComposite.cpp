#include "engine/gl/GLQELShaderSceneVolumeComposite.h"

#include "engine/base/Qel2DBatch.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"

namespace {

// The nebula target sits in the unit after the picture's, where the
// shaders' "volumeTexture" reads.
constexpr GLuint kVolumeUnit = 1;

}  // namespace

bool GLQELShaderSceneVolumeComposite::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/QelDefault/shader-2dnormal.vs", "data/graphics/shader-scenevolumecomposite.ps"))
        return false;
    volumeSampler_ = CreateSampler(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, 0.0f);
    return volumeSampler_ != 0;
}

void GLQELShaderSceneVolumeComposite::Release()
{
    if (GLQelGraphicsClass::ContextReady() && volumeSampler_ != 0)
        glDeleteSamplers(1, &volumeSampler_);
    volumeSampler_ = 0;
    GLQELShader2DNormal::Release();
}

// Without a nebula target the batch draws as "2DNormal" would.
void GLQELShaderSceneVolumeComposite::Draw2D()
{
    GLQel2DBitmap* volume = bitmap2DList.empty() ? nullptr : Texture(0);
    if (batch_ == nullptr || !IsReady() || volume == nullptr) {
        GLQELShader2DNormal::Draw2D();
        return;
    }
    volume->UnmapPixels();
    glActiveTexture(GL_TEXTURE0 + kVolumeUnit);
    glBindTexture(GL_TEXTURE_2D, volume->Texture());
    glBindSampler(kVolumeUnit, volumeSampler_);
    GLQELShader2DNormal::Draw2D();
    glActiveTexture(GL_TEXTURE0 + kVolumeUnit);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindSampler(kVolumeUnit, 0);
    glActiveTexture(GL_TEXTURE0);
}
