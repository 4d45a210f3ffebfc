#include "engine/gl/GLQELShaderVolumePostProcess.h"

#include <cmath>
#include <limits>

bool GLQELShaderVolumePostProcess::Setup(SDL_Window* window)
{
    return Initialise(window, "data/QelDefault/shader-2dnormal.vs", "data/graphics/shader-volumepostprocess.ps");
}

void GLQELShaderVolumePostProcess::SetParameter(std::string name, float x, float, float, float)
{
    constexpr float kLimit = static_cast<float>(std::numeric_limits<int>::max());
    if (name == "blurStrength")
        blurStrength = std::isfinite(x) && std::abs(x) < kLimit ? static_cast<int>(x) : 0;
    else
        values[name] = x;
}
