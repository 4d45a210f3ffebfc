#include "engine/gl/GLQELShaderRedwoodWiggle.h"

bool GLQELShaderRedwoodWiggle::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-redwood-wiggle.vs", "data/graphics/shader-redwood-wiggle.ps");
}

void GLQELShaderRedwoodWiggle::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (name == "waveInfo") {
        lighting.glowMult = {lighting.glowMult.x, x, y, z};
    } else if (name == "waveSize") {
        lighting.cameraPos.x = x;
        lighting.cameraPos.y = y;
    } else {
        GLQELShaderRedwood::SetParameter(std::move(name), x, y, z, w);
    }
}
