#pragma once
// "Skybox": the star background, a textured box drawn around the camera
// with the camera's rotation only: the translations of the world and view
// matrices are left out of what the shader receives. Depth is tested, never
// written, so everything drawn later lies in front of it.

#include "engine/gl/GLQELShaderRoot.h"

class GLQELSkyBox : public GLQELShaderRoot {
public:
    // world, view, projection.
    static constexpr int kConstantBytes = 192;

    // The caller's matrices are not changed: copies lose their translation.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    bool Setup(SDL_Window* window) override;
};
