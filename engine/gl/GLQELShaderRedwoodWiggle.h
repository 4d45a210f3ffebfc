#pragma once
// "RedwoodWiggle": Redwood for creatures, whose vertex shader sways the body
// in waves. "waveInfo" (phase, size coefficient, wave length divisor) rides
// in glowMult's y, z and w; "waveSize" (vertical and horizontal divisors)
// replaces the first two components of cameraPos.

#include "engine/gl/GLQELShaderRedwood.h"

class GLQELShaderRedwoodWiggle : public GLQELShaderRedwood {
public:
    GLQELShaderRedwoodWiggle() { lighting.glowMult = glm::vec4(1.0f); }

    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
};
