#pragma once
// "2DAdditive": draws a 2D batch that names it (through a bitmap's
// SetDrawProcess) with the alpha blend state, depth test off.

#include "engine/gl/GLQELShader2DNormal.h"

class GLQELShader2DAdditive : public GLQELShader2DNormal {
public:
    ~GLQELShader2DAdditive() override { GLQELShader2DAdditive::Release(); }
    void Draw2D() override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;
    void Release() override;

private:
    GLuint ownSampler_ = 0;
};
