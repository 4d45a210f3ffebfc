#pragma once
// "Volume": the planet constants drawn as a glowing ball of haze on a box
// around it, added to what is behind unless "additive" is off.

#include "engine/gl/GLQELShaderGasGiant.h"

class GLQELShaderVolume : public GLQELShaderGasGiant {
public:
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;

    bool additive = true;
};
