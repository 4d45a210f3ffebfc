#pragma once
// "2DBlurAdd": draws a 2D batch that names it additively, blurred: the block
// carries the size of one texel of the batch's texture as the blur step.

#include "engine/gl/GLQELShader2DNormal.h"

class GLQELShader2DBlurAdditive : public GLQELShader2DNormal {
public:
    ~GLQELShader2DBlurAdditive() override { GLQELShader2DBlurAdditive::Release(); }
    void Draw2D() override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;
    void Release() override;

private:
    GLuint ownSampler_ = 0;
};
