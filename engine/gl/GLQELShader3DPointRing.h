#pragma once
// "PointRing": a mesh drawn as a bright band that spreads over it from a
// centre point, additive by default: shield shells rippling where a shot
// struck. minMax gives the band's inner and outer distance from the centre.

#include <glm/vec4.hpp>

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShader3DPointRing : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), colour, centre point, band.
    static constexpr int kConstantBytes = 240;

    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;

    bool depth = false;  // writes depth when set; else tests without writing
    bool ATOC = false;
    bool additive = true;
    glm::vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 centerPoint{0.0f};
    glm::vec4 minMax{0.0f};
};
