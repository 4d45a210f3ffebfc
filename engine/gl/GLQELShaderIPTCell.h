#pragma once
// "IPTCell": InstancedPostTransform whose quads each show one cell of a
// sprite sheet, the cell an instance names, and fade with the instance's
// colour alpha.

#include "engine/gl/GLQELShaderInstancedPostTransform.h"

class GLQELShaderIPTCell : public GLQELShaderInstancedPostTransform {
public:
    bool Setup(SDL_Window* window) override
    {
        return Initialise(window, "data/graphics/shader-iptcell.vs", "data/graphics/shader-iptcell.ps");
    }
};
