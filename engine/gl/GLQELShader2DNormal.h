#pragma once
// "2DNormal": the shader of every 2D batch that names none. Point sampling
// unless the batch asks for smooth sampling; additive blending when asked.

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShader2DNormal : public GLQELShaderRoot {
public:
    ~GLQELShader2DNormal() override { GLQELShader2DNormal::Release(); }
    static constexpr int kConstantBytes = 16;

    void Draw2D() override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;
    void Release() override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;

protected:
    // Writes the 2D block and binds the batch's texture and vertices.
    void BindBatch();
    void DrawBatch();

private:
    GLuint pointSampler_ = 0;
    GLuint smoothSampler_ = 0;
};
