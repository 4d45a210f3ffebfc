#pragma once
// "VolumePostProcess": draws a 2D batch like "2DNormal" through a pixel
// shader that softens it, for the small render target the nebula volumes
// are marched into. Its parameters are kept but reach no shader.

#include <map>

#include "engine/gl/GLQELShader2DNormal.h"

class GLQELShaderVolumePostProcess : public GLQELShader2DNormal {
public:
    bool Setup(SDL_Window* window) override;
    // "blurStrength" is kept as a whole number, any other name as one float.
    void SetParameter(std::string name, float x, float y, float z, float w) override;

    int blurStrength = 0;
    std::map<std::string, float> values;
};
