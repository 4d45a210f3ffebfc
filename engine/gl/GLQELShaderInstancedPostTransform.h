#pragma once
// "InstancedPostTransform": camera-facing textured quads, one per instance
// of the first instance list (position and size, colour, velocity), from a
// shared quad in the vertex list; a moving one drawn out into a streak
// along the path behind it, "velocityStretch" quad lengths of it per unit
// of speed; added to what is behind unless "additive" is off.
// Depth is tested, not written.

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderInstancedPostTransform : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), then the stretch.
    static constexpr int kConstantBytes = 208;

    // Draws count vertices of the quad for each of instanceCount instances.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;

    float velocityStretch = 0.0f;  // quad lengths per unit of speed
    bool additive = true;
};
