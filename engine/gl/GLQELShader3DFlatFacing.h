#pragma once
// "FlatFacing": Flat with its own files, which fade surfaces by how squarely
// they face the viewer.

#include "engine/gl/GLQELShader3DFlat.h"

class GLQELShader3DFlatFacing : public GLQELShader3DFlat {
public:
    bool Setup(SDL_Window* window) override
    {
        return Initialise(window, "data/graphics/shader-flat-facing.vs", "data/graphics/shader-flat-facing.ps");
    }
};
