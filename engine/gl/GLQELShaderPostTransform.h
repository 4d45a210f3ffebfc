#pragma once
// "PostTransform": unindexed triangles of a vertex list, textured and tinted
// by their vertex colours, added to what is drawn unless "additive" is off.

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderPostTransform : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), then one unused row.
    static constexpr int kConstantBytes = 208;

    // Draws count triangles: the first 3 x count vertices.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;

    bool additive = true;
};
