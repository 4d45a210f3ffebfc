#pragma once
// "Phong": a textured mesh lit by one directional light, tinted by the
// ambient colour: editor markers and creature bodies.

#include <glm/vec4.hpp>

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderPhong : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), ambient colour, light direction.
    static constexpr int kConstantBytes = 224;

    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;

    bool depth = true;  // writes depth when set; else tests without writing
    bool ATOC = false;
    glm::vec4 ambientColor{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 lightDir{0.0f, 1.0f, 0.0f, 0.0f};  // toward the light
};
