#pragma once
// "Nebula": Flat's switches and colour over a cloud made by the pixel shader
// itself, so it takes no texture; its constants reach the pixel shader too.

#include "engine/gl/GLQELShader3DFlat.h"

class GLQELShader3DNebula : public GLQELShader3DFlat {
public:
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    bool Setup(SDL_Window* window) override;
};
