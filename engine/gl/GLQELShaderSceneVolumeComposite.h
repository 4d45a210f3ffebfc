#pragma once
// "SceneVolumeComposite": copies a 2D batch of the 3D view's picture with the
// softened nebulae (the draw list's first bitmap) laid over it, in one pass,
// as a copy of the picture and a copy of the nebulae blended over it would
// show them.

#include "engine/gl/GLQELShader2DNormal.h"

class GLQELShaderSceneVolumeComposite : public GLQELShader2DNormal {
public:
    ~GLQELShaderSceneVolumeComposite() override { GLQELShaderSceneVolumeComposite::Release(); }

    void Draw2D() override;
    bool Setup(SDL_Window* window) override;
    void Release() override;

private:
    GLuint volumeSampler_ = 0;
};
