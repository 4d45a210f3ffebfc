#pragma once
// "Flat": an indexed mesh with one texture tinted by its vertex colours and a
// colour; switches for depth writes and tests, alpha-to-coverage, additive
// blending and drawing the glow texture (the second bitmap) instead of the
// first.

#include <glm/vec4.hpp>

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShader3DFlat : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), then the colour.
    static constexpr int kConstantBytes = 208;

    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;

    bool write = true;
    bool read = true;
    bool ATOC = false;
    bool additive = false;
    bool drawglowonly = false;
    glm::vec4 color{1.0f, 1.0f, 1.0f, 1.0f};

protected:
    // The block exactly as the GLSL reads it (std140).
    struct Block {
        MatrixBlock matrices;
        glm::vec4 color;
    };
    static_assert(sizeof(Block) == kConstantBytes, "the Flat block is 208 bytes");
};
